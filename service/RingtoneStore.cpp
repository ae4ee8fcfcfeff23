#include "RingtoneStore.h"

#include "Digest.h"
#include "WholeNumber.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

constexpr const char* kRingtoneIndex = "ringtones.tsv";
constexpr const char* kDeliveryIndex = "deliveries.tsv";

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    while (true) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

bool IsId(const std::string& id) {
    return !id.empty() && id.size() <= 64 && std::all_of(id.begin(), id.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
    });
}

} // namespace

CRingtoneStore::CRingtoneStore(fs::path folder) : m_folder(std::move(folder)) {
    std::error_code ec;
    fs::create_directories(m_folder / "ringtones", ec);
    if (ec)
        throw std::runtime_error("cannot create the store folder " + m_folder.string() + ": " +
                                 ec.message());
    load();
}

void CRingtoneStore::load() {
    // Damaged lines are skipped: the index is rebuilt from what can be read.
    std::ifstream ringtones(m_folder / kRingtoneIndex);
    for (std::string line; std::getline(ringtones, line);) {
        const auto f = SplitTabs(line);
        StoredRingtone r;
        if (f.size() != 8 || !IsId(f[0]) || !WholeNumber(f[2], r.size) ||
            !WholeNumber(f[4], r.receivedAt) || !WholeNumber(f[5], r.stream.channels) ||
            !WholeNumber(f[6], r.stream.rate) || !WholeNumber(f[7], r.stream.durationMs))
            continue;
        r.id = f[0];
        r.fileName = f[1];
        r.digest = f[3];
        if (fs::exists(bytesPath(r.id)))
            m_ringtones.push_back(std::move(r));
    }
    std::ifstream deliveries(m_folder / kDeliveryIndex);
    for (std::string line; std::getline(deliveries, line);) {
        const auto f = SplitTabs(line);
        Sent sent;
        if (f.size() != 3 || !WholeNumber(f[1], sent.sentAt) || !IsId(f[2]))
            continue;
        sent.phone = f[0];
        sent.id = f[2];
        m_sent.push_back(std::move(sent));
    }
}

fs::path CRingtoneStore::bytesPath(const std::string& id) const {
    return m_folder / "ringtones" / (id + ".ogg");
}

bool CRingtoneStore::appendLine(const fs::path& index, const std::string& line) {
    std::ofstream out(index, std::ios::app | std::ios::binary);
    out << line << '\n';
    out.flush();
    return bool(out);
}

std::optional<StoredRingtone>
CRingtoneStore::add(const std::string& id, const std::string& fileName, std::string_view bytes,
                    const VorbisStreamInfo& stream, std::string& reason) {
    if (!IsId(id)) {
        reason = "invalid ringtone id";
        return std::nullopt;
    }
    StoredRingtone ringtone;
    ringtone.id = id;
    ringtone.fileName = cleanFileName(fileName);
    ringtone.size = bytes.size();
    ringtone.digest = CDigest::md5Hex(bytes);
    ringtone.receivedAt = std::time(nullptr);
    ringtone.stream = stream;

    const fs::path target = bytesPath(id);
    const fs::path partial = target.string() + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        out.flush();
        if (!out) {
            reason = "cannot write " + partial.string() + ": " + std::strerror(errno);
            std::error_code ignored;
            fs::remove(partial, ignored);
            return std::nullopt;
        }
    }
    std::error_code ec;
    fs::rename(partial, target, ec);
    if (ec) {
        reason = "cannot rename " + partial.string() + ": " + ec.message();
        fs::remove(partial, ec);
        return std::nullopt;
    }

    std::ostringstream line;
    line << ringtone.id << '\t' << ringtone.fileName << '\t' << ringtone.size << '\t'
         << ringtone.digest << '\t' << ringtone.receivedAt << '\t' << stream.channels << '\t'
         << stream.rate << '\t' << stream.durationMs;
    std::lock_guard lock(m_mutex);
    if (!appendLine(m_folder / kRingtoneIndex, line.str())) {
        reason = "cannot write " + (m_folder / kRingtoneIndex).string();
        fs::remove(target, ec);
        return std::nullopt;
    }
    m_ringtones.push_back(ringtone);
    return ringtone;
}

std::optional<StoredRingtone> CRingtoneStore::find(const std::string& id) const {
    std::lock_guard lock(m_mutex);
    const auto it = std::find_if(m_ringtones.begin(), m_ringtones.end(),
                                 [&](const StoredRingtone& r) { return r.id == id; });
    if (it == m_ringtones.end())
        return std::nullopt;
    return *it;
}

size_t CRingtoneStore::count() const {
    std::lock_guard lock(m_mutex);
    return m_ringtones.size();
}

std::optional<std::string> CRingtoneStore::readBytes(const std::string& id) const {
    if (!find(id))
        return std::nullopt;
    std::error_code ec;
    const auto size = fs::file_size(bytesPath(id), ec);
    std::ifstream in(bytesPath(id), std::ios::binary);
    if (ec || !in)
        return std::nullopt;
    std::string bytes(size, '\0');
    if (!in.read(bytes.data(), std::streamsize(size)))
        return std::nullopt;
    return bytes;
}

bool CRingtoneStore::deliver(const std::string& id, const std::string& phone) {
    Sent sent{phone, int64_t(std::time(nullptr)), id};
    std::lock_guard lock(m_mutex);
    if (!appendLine(m_folder / kDeliveryIndex,
                    phone + '\t' + std::to_string(sent.sentAt) + '\t' + id))
        return false;
    m_sent.push_back(std::move(sent));
    return true;
}

std::vector<Delivery> CRingtoneStore::inbox(const std::string& phone) const {
    std::vector<Delivery> result;
    std::lock_guard lock(m_mutex);
    for (auto it = m_sent.rbegin(); it != m_sent.rend(); ++it) {
        if (!phone.empty() && it->phone != phone)
            continue;
        const auto ringtone = std::find_if(m_ringtones.begin(), m_ringtones.end(),
                                           [&](const StoredRingtone& r) { return r.id == it->id; });
        if (ringtone != m_ringtones.end())
            result.push_back({it->phone, it->sentAt, *ringtone});
    }
    return result;
}

std::string CRingtoneStore::cleanFileName(std::string_view name) {
    const size_t slash = name.find_last_of("/\\");
    if (slash != std::string_view::npos)
        name.remove_prefix(slash + 1);
    std::string clean;
    for (const char c : name)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)
            clean.push_back(c);
    // The extension becomes ".ogg", as the program names its uploads.
    if (const size_t dot = clean.rfind('.'); dot != std::string::npos)
        clean.erase(dot);
    if (clean.size() > 200) {
        // At most 200 bytes, ending on a whole UTF-8 character.
        size_t cut = 200;
        while (cut > 0 && (static_cast<unsigned char>(clean[cut]) & 0xC0) == 0x80)
            --cut;
        clean.erase(cut);
    }
    if (clean.empty())
        return "ringtone.ogg";
    return clean + ".ogg";
}

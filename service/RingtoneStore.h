// The received ringtones and the phones they were sent to, kept in a folder.
#pragma once

#include "VorbisProbe.h"

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One ringtone as the store keeps it.
struct StoredRingtone {
    std::string id;
    std::string fileName; // the upload's file name, bytes as sent
    uint64_t size = 0;
    std::string digest;
    int64_t receivedAt = 0; // seconds since 1970
    VorbisStreamInfo stream;
};

// A ringtone sent to a phone.
struct Delivery {
    std::string phone;
    int64_t sentAt = 0;
    StoredRingtone ringtone;
};

// Layout of the folder: ringtones/<id>.ogg holds the bytes; ringtones.tsv and deliveries.tsv
// hold one line per ringtone and per delivery, so the inbox survives a restart.
class CRingtoneStore {
public:
    // Creates the folder when needed and reads what it holds; throws std::runtime_error when the
    // folder cannot be made.
    explicit CRingtoneStore(std::filesystem::path folder);

    const std::filesystem::path& folder() const { return m_folder; }

    // Writes the bytes under id (a new file; a partial file is removed on failure) and records
    // the ringtone. Nothing on failure, with the reason.
    std::optional<StoredRingtone> add(const std::string& id, const std::string& fileName,
                                      std::string_view bytes, const VorbisStreamInfo& stream,
                                      std::string& reason);
    std::optional<StoredRingtone> find(const std::string& id) const;
    size_t count() const;
    // The stored bytes of a ringtone; nothing when it cannot be read.
    std::optional<std::string> readBytes(const std::string& id) const;

    // Records that the ringtone was sent to the phone; false when it cannot be recorded.
    bool deliver(const std::string& id, const std::string& phone);
    // The deliveries to one phone, or to every phone when phone is empty; newest first.
    std::vector<Delivery> inbox(const std::string& phone) const;

    // The file name a ringtone is kept under: its base name without control characters, with
    // the extension ".ogg" in place of its own; "ringtone.ogg" when nothing is left.
    static std::string cleanFileName(std::string_view name);

private:
    void load();
    std::filesystem::path bytesPath(const std::string& id) const;
    bool appendLine(const std::filesystem::path& index, const std::string& line);

    std::filesystem::path m_folder;
    mutable std::mutex m_mutex;
    std::vector<StoredRingtone> m_ringtones;
    struct Sent {
        std::string phone;
        int64_t sentAt;
        std::string id;
    };
    std::vector<Sent> m_sent;
};

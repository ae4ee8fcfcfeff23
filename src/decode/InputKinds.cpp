// The inputs the program opens, by extension.
#include "decode/InputKinds.h"

#include "decode/Mp3Decoder.h"
#include "decode/OggDecoder.h"
#include "decode/WmaDecoder.h"

#include <algorithm>
#include <array>

namespace {

struct Extension {
    const char* text; // lower case, with its '.'
    InputKind kind;
    bool offered; // offered to the person; the work WAV's own extension is not
};

constexpr std::array<Extension, 7> kExtensions = {{
    {".wav", InputKind::Wav, true},
    {".mp3", InputKind::Mp3, true},
    {".ogg", InputKind::Ogg, true},
    {".wma", InputKind::Wma, true},
    {".wmv", InputKind::Wma, true},
    {".asf", InputKind::Wma, true},
    {".in", InputKind::Wav, false},
}};

// The table's entry for the path's text from its last '.' on, any case; null when none fits.
const Extension* FindExtension(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return nullptr;
    const QString extension = path.mid(dot).toLower();
    const auto* found = std::find_if(kExtensions.begin(), kExtensions.end(), [&](const auto& e) {
        return extension == QLatin1String(e.text);
    });
    return found == kExtensions.end() ? nullptr : found;
}

} // namespace

std::optional<InputKind> inputKindOf(const QString& path) {
    const Extension* extension = FindExtension(path);
    return extension ? std::optional(extension->kind) : std::nullopt;
}

bool isSupportedExtension(const QString& path) {
    const Extension* extension = FindExtension(path);
    return extension && extension->offered;
}

std::unique_ptr<IDecoder> makeDecoder(InputKind kind) {
    switch (kind) {
    case InputKind::Mp3:
        return std::make_unique<CMp3Decoder>();
    case InputKind::Ogg:
        return std::make_unique<COggDecoder>();
    case InputKind::Wma:
        return std::make_unique<CWmaDecoder>();
    case InputKind::Wav:
        break;
    }
    return nullptr;
}

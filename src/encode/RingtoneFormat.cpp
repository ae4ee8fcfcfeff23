// The file formats a ringtone can be saved in.
#include "encode/RingtoneFormat.h"

#include <array>

namespace {
constexpr std::array<const char*, 4> kNames = {"ogg", "m4r", "mp3", "opus"};
} // namespace

QString formatName(RingtoneFormat format) {
    return QLatin1String(kNames[size_t(format)]);
}

std::optional<RingtoneFormat> formatFromName(const QString& name) {
    for (size_t i = 0; i < kNames.size(); ++i) {
        if (name.compare(QLatin1String(kNames[i]), Qt::CaseInsensitive) == 0)
            return RingtoneFormat(i);
    }
    return std::nullopt;
}

qint64 formatLengthLimit(RingtoneFormat format) {
    return format == RingtoneFormat::M4r ? 40000 : 0;
}

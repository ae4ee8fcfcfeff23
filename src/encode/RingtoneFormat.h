// The file formats a ringtone can be saved in, and what each one asks of the ringtone.
#pragma once

#include <QString>
#include <optional>

// OGG Vorbis is the ringtone as it is sent; the others are made with FFmpeg's encoders.
enum class RingtoneFormat { Ogg, M4r, Mp3, Opus };

// The format's name as the command line takes it ("ogg", "m4r", "mp3", "opus").
QString formatName(RingtoneFormat format);
// The format of a name (any case); nullopt for another name.
std::optional<RingtoneFormat> formatFromName(const QString& name);
// The longest ringtone the format takes, in milliseconds (M4R ringtones: 40 s); 0 for no limit.
qint64 formatLengthLimit(RingtoneFormat format);

// Reading and writing one value of an INI file ("[section]" lines and "key=value" lines).
#pragma once

#include <QString>

// The value of key in [section] of the file: section and key names compared without regard to
// case, the value trimmed and freed of one pair of enclosing double quotes, at most maxChars - 1
// characters. Empty when the file, the section or the key is missing.
QString ReadProfileString(const QString& file, const QString& section, const QString& key,
                          int maxChars = 260);

// Sets key in [section], adding the section or the key when missing and keeping every other line
// of the file; the file (UTF-8, or UTF-16 when it was so) is replaced in one step. False when the
// value holds a line break or the file cannot be written.
bool WriteProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value);

// Support utilities shared by every part of the program: temporary names, folders, URL escaping,
// the system description; and, through the headers below, clocks and time texts.
#pragma once

#include "util/Clock.h"
#include "util/DateTimeText.h"
#include "util/DateTimeValue.h"
#include "util/SystemError.h"
#include "util/UniqueClock.h"

#include <QString>

// A full path "<temporary folder>/temp_<seconds>_<random>.<extension>" in the user's temporary
// folder; the file is not created. Returns 0, or the system error number when there is no such
// folder (ENOTDIR when the path is something else).
int MakeTempFilePath(const QString& extension, QString& path);

// What became of a folder asked for by MakeDirIfMissing.
enum class DirStatus { Ready, CreateFailed, NotAFolder };
// Makes sure the folder exists, creating it when missing (one level: its parent must exist).
DirStatus MakeDirIfMissing(const QString& path);

// Replaces characters by "%xx" (lower-case hexadecimal of the character's code): every character
// when escapeAll is set, else only those from 0x20 to 0x2F (blank, punctuation, '/'). Letters,
// digits and punctuation from ':' up are kept unless escapeAll is set.
QString UrlEscape(const QString& text, bool escapeAll = false);

// One line describing the system for the start-up log:
// "<distribution>, <kernel name> <kernel release>, build <machine>", for example
// "Debian GNU/Linux 12 (bookworm), Linux 6.1.0-18-amd64, build x86_64". The distribution is the
// PRETTY_NAME of os-release (or its NAME and VERSION); a part that cannot be found is left out.
QString GetOSDescription();
// The same line from the text of an os-release file and the kernel's uname fields.
QString OSDescriptionFrom(const QString& osRelease, const QString& kernelName,
                          const QString& kernelRelease, const QString& machine);

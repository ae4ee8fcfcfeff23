// The program's string table: every user-visible text by its identifier, in English and translated.
#pragma once

#include "util/Printf.h"

#include <QString>

#include <span>

// A string-table identifier, wrapped so it cannot be mistaken for a number or a code.
struct StringId {
    int id;
};

// One entry of the table: its identifier and English text (UTF-8).
struct StringTableEntry {
    int id;
    const char* english;
};

// Every entry of the table, sorted by identifier.
std::span<const StringTableEntry> StringTableEntries();

// The English text of a string-table entry; nullptr for an unknown identifier.
const char* EnglishString(int id);

// The text of a string-table entry in the current language (the English text when untranslated,
// an empty text for an unknown identifier).
QString LoadString(int id);
inline QString LoadString(StringId id) {
    return LoadString(id.id);
}

// LoadString followed by printf-style formatting of the translated format with the arguments.
template <class... Args> QString FormatString(int id, const Args&... args) {
    return Sprintf(LoadString(id), args...);
}

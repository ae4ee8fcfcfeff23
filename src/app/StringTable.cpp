// The program's string table: identifier to English text, translated on loading.
#include "app/StringTable.h"

#include "app/Language.h"

#include <QtGlobal>

#include <algorithm>
#include <iterator>

namespace {
// Every string-table entry of the program, sorted by identifier.
constexpr StringTableEntry kStrings[] = {
#include "app/StringTableData.inc"
};
} // namespace

std::span<const StringTableEntry> StringTableEntries() {
    return kStrings;
}

const char* EnglishString(int id) {
    const auto end = std::end(kStrings);
    const auto it = std::lower_bound(std::begin(kStrings), end, id,
                                     [](const StringTableEntry& e, int key) { return e.id < key; });
    return (it != end && it->id == id) ? it->english : nullptr;
}

QString LoadString(int id) {
    const char* english = EnglishString(id);
    return english ? TranslateText(QString::fromUtf8(english)) : QString();
}

// The program's string table: identifier to English text, translated on loading.
#include "app/StringTable.h"

#include "app/Language.h"

#include <QtGlobal>

#include <algorithm>
#include <iterator>

namespace {
struct Entry {
    int id;
    const char* english;
};

// Every string-table entry of the program, sorted by identifier.
constexpr Entry kStrings[] = {
#include "app/StringTableData.inc"
};
} // namespace

const char* EnglishString(int id) {
    const auto end = std::end(kStrings);
    const auto it = std::lower_bound(std::begin(kStrings), end, id,
                                     [](const Entry& e, int key) { return e.id < key; });
    return (it != end && it->id == id) ? it->english : nullptr;
}

QString LoadString(int id) {
    const char* english = EnglishString(id);
    return english ? TranslateText(QString::fromUtf8(english)) : QString();
}

// The controls of the shipped skins: sections, identifiers and kinds, and the stream view's keys.
#pragma once

#include <QString>
#include <QStringList>

struct ShippedControl {
    const char* section;
    int id;
    int kind;    // 0 button, 3 label
    int tooltip; // string-table entry of its tooltip, 0 for none
};

// The dialog's five buttons, then the main control's eighteen controls in creation order.
extern const ShippedControl DialogControls[5];
extern const ShippedControl MainControls[18];

// A key of a skin section and the parser operation that reads it.
enum class ValueKind { Int, Color, Rect, Point, Font, Bitmap, Region, File, Text };
struct SectionKey {
    const char* key;
    ValueKind kind;
};
extern const SectionKey StreamViewKeys[28];

class CSkinParser;
// Reads the section with the keys; returns the keys that were present and converted.
QStringList ReadSectionKeys(CSkinParser& parser, const QString& section, const SectionKey* keys,
                            int count);

// The messages of a skin file that cannot be used.
#pragma once

#include <QString>

// The string-table texts of the failures: "couldn't open skin", "failed to parse skin", "failed
// to apply skin".
enum SkinErrorId : int {
    kCouldNotOpenSkin = 102,
    kFailedToParseSkin = 103,
    kFailedToApplySkin = 104
};

// The failure's text followed by the skin file's path in quotes.
QString SkinErrorText(SkinErrorId id, const QString& path);

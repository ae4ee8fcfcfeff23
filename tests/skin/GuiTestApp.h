// The widget application the skin tests need, started once for the test program.
#pragma once

#include <QString>

// Creates the QApplication (offscreen unless a platform is chosen) if there is none yet.
void EnsureGuiApp();
// The folder of the shipped skins in the source tree, with a trailing '/'.
QString ShippedSkinsFolder();

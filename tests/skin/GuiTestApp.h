// The widget application the skin tests need, started once for the test program.
#pragma once

#include <QString>
#include <functional>

// Creates the QApplication (offscreen unless a platform is chosen) if there is none yet.
void EnsureGuiApp();
// The folder of the shipped skins in the source tree, with a trailing '/'.
QString ShippedSkinsFolder();
// Serves events until the condition holds; false after ms milliseconds.
bool WaitUntil(const std::function<bool()>& condition, int ms = 30000);

// The tool's record command: a recording session from a sound device that becomes the input.
#pragma once

#include <QStringList>

class CCliModelOwner;

// "record --length T [--device NAME] [--source LINE] [--volume N]": records for T (Ctrl+C ends
// early and keeps what was recorded) with a level bar on a terminal, then opens the recording
// as the input. 0 when a recording became the input, 2 when none did.
int CliRecord(const QStringList& args, CCliModelOwner& owner);

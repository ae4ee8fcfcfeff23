// The tool's audio CD commands: list the drives with their tracks, rip a track as the input.
#pragma once

#include <QStringList>

class CCliModelOwner;

// "cd list" and "cd rip TRACK [--drive NAME]".
int CliCd(const QStringList& args, CCliModelOwner& owner);

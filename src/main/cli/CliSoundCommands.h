// The tool's sound commands: play the input or the ringtone, list the sound devices.
#pragma once

#include <QStringList>

class CCliModelOwner;

// "play [--ringtone] [--from T] [--to T] [--loop N] [--device NAME]".
int CliPlay(const QStringList& args, CCliModelOwner& owner);
// "devices": playback and capture devices; per capture device its lines, volumes and the
// recorded line.
int CliDevices(const QStringList& args, CCliModelOwner& owner);

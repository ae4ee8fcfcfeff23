// The CD command after the track was chosen: extract it and make it the model's input.
#pragma once

#include "platform/cdaudio/CdAudio.h"

#include <QString>

class CRingtoneModel;
class IOpProgress;

// Extracts track of drive into the model's CD track file (tempcd.wav) with progress, then
// closes the model's input, puts the track file in place of the work WAV (temp.in) and opens
// it as a CD track (named "Audio CD track [n]", titled "trackNN"). An OpResult: 0 opened,
// 1 cancelled (the input is untouched), 2 failed. errorText is the text to show after a failed
// extraction ("Track extraction failed." when nothing better is known); it stays empty when
// the failure was only traced (the rename) or the model has shown its own message.
int ExtractCdTrackAsInput(CRingtoneModel& model, const CDREC& drive, int track,
                          IOpProgress& progress, QString& errorText);

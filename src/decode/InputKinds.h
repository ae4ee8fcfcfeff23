// The inputs the program opens, by extension, and the decoder that turns each into 16-bit PCM.
#pragma once

#include "decode/IDecoder.h"

#include <QString>
#include <memory>
#include <optional>

// How an input becomes the work WAV: a WAV is read as it stands, the others are decoded.
enum class InputKind { Wav, Mp3, Ogg, Wma };

// The kind the path's extension (any case) calls for, the work WAV's ".in" included; none for an
// extension the program does not open.
std::optional<InputKind> inputKindOf(const QString& path);

// True if the path ends with an extension a person may open (.wav .mp3 .ogg .wma .wmv .asf),
// any case.
bool isSupportedExtension(const QString& path);

// A new decoder for kind; null for a WAV, which needs none.
std::unique_ptr<IDecoder> makeDecoder(InputKind kind);

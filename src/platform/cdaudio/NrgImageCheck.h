// Checks a Nero (.nrg) image's chunk directory before libcdio parses it.
#pragma once

#include <QString>

// libcdio reads the directory at the end of an .nrg file trusting its offsets and lengths, and
// a damaged one makes it read and write outside its buffers. This check lets through only
// directories whose chunks lie inside the file and hold what libcdio expects of them: a
// trailer of version 5.0 ("NERO", 32-bit offset) or 5.5 ("NER5", 64-bit offset), at most
// 4096 bytes of chunks, 1 to 99 tracks, and table chunks of whole entries.
class CNrgImageCheck {
public:
    // True when libcdio may parse the image; otherwise false with the reason.
    static bool check(const QString& path, QString& reason);
};

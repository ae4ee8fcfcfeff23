// Reading an audio CD track into a WAV file, and the rules around it (table, track kinds).
#pragma once

#include "platform/cdaudio/CdAudio.h"

#include <QString>

class IOpProgress;

// The CD operations of the program over the CD-audio library. Every call opens the drive for
// itself and closes it again; nothing is held between calls.
class CCdRipper {
public:
    // Frames read at once, frames of the overlap buffer, attempts per read.
    static constexpr uint32_t kFramesPerRead = 26;
    static constexpr uint32_t kOverlapFrames = 3;
    static constexpr int kReadAttempts = 3;
    // Frames between the last audio track and the data track of a second session.
    static constexpr int64_t kSessionGapFrames = 11250;

    // Whether the extraction may go on. Linux reads CDs through the kernel's drivers, as the
    // NT family of Windows does, so no extraction can freeze the system: the warning is never
    // needed and the answer is always yes, whatever AskWantCDRip says.
    static bool askWantCdRip() { return true; }

    // Reads the table twice, with frame numbers into tocLba and with M:S:F addresses into
    // tocMsf; true when both reads worked and agree on the first and last track.
    static bool readToc(const CDREC& drive, CDTOC& tocLba, CDTOC& tocMsf);
    // The number of audio tracks from the first to the last track.
    static int audioTrackCount(const CDTOC& toc);
    // A data track has the low three bits of its control/address byte equal to 4.
    static bool isDataTrack(const TOCTRACK& entry) { return (entry.ADR & 7) == 4; }
    // The start frame of an entry of a table read with frame numbers.
    static int64_t startFrame(const TOCTRACK& entry);
    // The open parameters of a drive: read type 1, no jitter correction of the drive itself,
    // 1 jitter frame, 3 overlap frames.
    static GETCDHAND openParameters(const CDREC& drive);
    // The name of a drive as the track dialog shows it (8-bit text of the system's encoding).
    static QString driveName(const CDREC& drive);

    // Reads track into the WAV file destination (16-bit stereo PCM at 44100 Hz) with verified
    // reads. An OpResult: 0, 1 cancelled, 2 failed with errorText set when the WAV writer
    // failed. The destination is removed unless the result is 0.
    static int ripTrack(const CDREC& drive, const CDTOC& toc, int track, const QString& destination,
                        IOpProgress& progress, QString& errorText);
};

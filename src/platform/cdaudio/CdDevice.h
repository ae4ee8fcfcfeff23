// One open drive of the CD-audio library: its table of contents and its audio frames.
#pragma once

#include "platform/cdaudio/CdAudio.h"
#include "platform/cdaudio/CdDriveSource.h"

#include <memory>

// Reads through libcdio: the table of contents from the drive or the image, plain audio reads,
// and reads verified by cdio_paranoia, which compares overlapping reads to correct jitter and
// re-reads what did not match. Used by one thread at a time.
class CCdDevice {
public:
    // Opens the drive; nullptr when it cannot be opened (the reason goes to the library's trace).
    static std::unique_ptr<CCdDevice> open(const CCdDriveSource& source, const GETCDHAND& params);
    ~CCdDevice();
    CCdDevice(const CCdDevice&) = delete;
    CCdDevice& operator=(const CCdDevice&) = delete;

    // Whether readToc reports addresses as minutes, seconds and frames.
    void setTocMsf(bool msf) { m_tocMsf = msf; }
    // Fills the table of the disc; false for no disc or a damaged table.
    bool readToc(CDTOC& toc);
    // Reads buffer.numFrames frames from buffer.startFrame as the drive delivers them.
    bool readFrames(TRACKBUF& buffer);
    // The same through paranoia; overlap holds the last frames of the previous verified read.
    bool readFramesVerified(TRACKBUF& buffer, TRACKBUF& overlap);
    const QString& name() const { return m_name; }

private:
    struct Impl;
    explicit CCdDevice(std::unique_ptr<Impl> impl, const QString& name, int overlapFrames);
    bool checkRequest(const TRACKBUF& buffer, const char* call) const;
    bool startParanoia();

    std::unique_ptr<Impl> m_impl;
    QString m_name;
    int m_overlapFrames = 0;
    bool m_tocMsf = false;
    int64_t m_nextFrame = -1; // where paranoia stands after the last verified read
};

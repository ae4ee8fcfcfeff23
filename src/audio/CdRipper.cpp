// Reading an audio CD track into a WAV file, and the rules around it (table, track kinds).
#include "audio/CdRipper.h"

#include "app/IOpProgress.h"
#include "app/OpResult.h"
#include "app/StringIds.h"
#include "app/Trace.h"
#include "decode/WavWriter.h"
#include "util/SystemError.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// A track buffer of the library with room for a number of frames, freed with the object.
class TrackBuffer {
public:
    explicit TrackBuffer(uint32_t frames)
        : m_storage((frames * kCdFrameBytes + kCdTrackBufHeader + 7) / 8) {
        get()->maxLen = frames * kCdFrameBytes;
    }
    TRACKBUF* get() { return reinterpret_cast<TRACKBUF*>(m_storage.data()); }

private:
    std::vector<uint64_t> m_storage;
};

// Opens a drive for the time of one operation.
class DriveHandle {
public:
    explicit DriveHandle(const CDREC& drive) {
        const GETCDHAND params = CCdRipper::openParameters(drive);
        m_handle = GetCDHandle(&params);
    }
    ~DriveHandle() { close(); }
    void close() {
        if (m_handle)
            CloseCDHandle(m_handle);
        m_handle = 0;
    }
    DriveHandle(const DriveHandle&) = delete;
    DriveHandle& operator=(const DriveHandle&) = delete;
    HCDROM get() const { return m_handle; }

private:
    HCDROM m_handle = 0;
};

WAVEFORMATEX CdAudioFormat() {
    return MakePcmFormat(2, 44100, 16);
}

QString WriterErrorText(const CWavWriter& writer) {
    return writer.getErrorCode() ? SystemErrorText(int(writer.getErrorCode())) : writer.getError();
}

// The number of entries from the first track to the last, or 0 for a table that has none.
int TrackEntries(const CDTOC& toc) {
    const int count = int(toc.lastTrack) - int(toc.firstTrack) + 1;
    return count >= 1 && count < kCdTocEntries ? count : 0;
}
} // namespace

GETCDHAND CCdRipper::openParameters(const CDREC& drive) {
    GETCDHAND params{};
    params.size = sizeof(GETCDHAND);
    params.ver = 1;
    params.ha = drive.ha;
    params.tgt = drive.tgt;
    params.lun = drive.lun;
    params.readType = 1;
    params.jitterCorr = 0;
    params.numJitter = 1;
    params.numOverlap = kOverlapFrames;
    return params;
}

QString CCdRipper::driveName(const CDREC& drive) {
    return QString::fromLocal8Bit(drive.id, int(strnlen(drive.id, sizeof(drive.id))));
}

int64_t CCdRipper::startFrame(const TOCTRACK& entry) {
    return qFromBigEndian<uint32_t>(entry.addr);
}

bool CCdRipper::readToc(const CDREC& drive, CDTOC& tocLba, CDTOC& tocMsf) {
    DriveHandle handle(drive);
    if (!handle.get())
        return false;
    std::memset(&tocLba, 0, sizeof(tocLba));
    std::memset(&tocMsf, 0, sizeof(tocMsf));
    ModifyCDParms(handle.get(), kCdParamTocMsf, 0);
    const int lba = ReadTOC(handle.get(), &tocLba);
    ModifyCDParms(handle.get(), kCdParamTocMsf, 1);
    const int msf = ReadTOC(handle.get(), &tocMsf);
    return lba == 1 && msf == 1 && tocLba.firstTrack == tocMsf.firstTrack &&
           tocLba.lastTrack == tocMsf.lastTrack;
}

int CCdRipper::audioTrackCount(const CDTOC& toc) {
    const int entries = TrackEntries(toc);
    int count = 0;
    for (int i = 0; i < entries; ++i)
        if (!isDataTrack(toc.tracks[i]))
            ++count;
    return count;
}

int CCdRipper::ripTrack(const CDREC& drive, const CDTOC& toc, int track, const QString& destination,
                        IOpProgress& progress, QString& errorText) {
    if (track >= 99) {
        Trace(TRACE_ERROR, "ripTrack : invalid track number %d", track);
        return OpFailed;
    }
    DriveHandle handle(drive);
    if (!handle.get()) {
        Trace(TRACE_ERROR, "ripTrack : error opening cdrom %s", driveName(drive));
        return OpFailed;
    }

    int result = OpSuccess;
    CWavWriter writer;
    const bool created = writer.create(destination, CdAudioFormat());
    if (!created) {
        errorText = WriterErrorText(writer);
        result = OpFailed;
    }

    int64_t from = 0;
    int64_t to = 0;
    int64_t lastAudioFrame = 0;
    const int entries = TrackEntries(toc);
    for (int i = 0; i < entries && result == OpSuccess; ++i) {
        const TOCTRACK& next = toc.tracks[i + 1];
        const int64_t start = startFrame(toc.tracks[i]);
        int64_t end = startFrame(next);
        if (isDataTrack(next) && end - start >= kSessionGapFrames + 1)
            end -= kSessionGapFrames;
        if (isDataTrack(next) || next.trackNumber == kCdLeadOutTrack)
            lastAudioFrame = startFrame(next) - 1;
        if (toc.tracks[i].trackNumber == track) {
            from = start;
            to = end;
        }
    }
    if (result == OpSuccess && to == 0) {
        Trace(TRACE_ERROR, "ripTrack : track not found %d", track);
        result = OpFailed;
    } else if (result == OpSuccess && lastAudioFrame == 0) {
        Trace(TRACE_ERROR, "ripTrack : lastAudioFrame = 0");
        result = OpFailed;
    }

    if (result == OpSuccess) {
        const int64_t first = from;
        Trace(TRACE_DEBUG, "ripping track %d, length = %d frames", track, int(to - from));
        progress.SetTextId(IDS_EXTRACTING_TRACK);
        progress.SetRange(uint32_t(std::max<int64_t>(to - from, 0)));
        progress.Show(true);

        TrackBuffer buffer(kFramesPerRead);
        TrackBuffer overlap(kOverlapFrames);
        overlap.get()->numFrames = 0;
        while (from < to - 1) {
            if (progress.IsCanceled()) {
                Trace(TRACE_DEBUG, "ripTrack canceled");
                result = OpCancelled;
                break;
            }
            const int64_t n = std::min<int64_t>(kFramesPerRead, to - from);
            const int64_t count =
                from + kFramesPerRead > lastAudioFrame ? lastAudioFrame - from : kFramesPerRead;
            TRACKBUF* t = buffer.get();
            bool read = false;
            for (int attempt = 0; attempt < kReadAttempts && count > 0 && !read; ++attempt) {
                t->startFrame = uint32_t(from);
                t->numFrames = uint32_t(count);
                t->len = 0;
                t->startOffset = 0;
                read = ReadCDAudioLBAEx(handle.get(), t, overlap.get()) == 1;
            }
            const uint64_t end = uint64_t(t->startOffset) + t->len;
            if (!read || t->numFrames == 0 || t->startOffset < 0 || end > t->maxLen) {
                Trace(TRACE_ERROR, "error reading from cd");
                result = OpFailed;
                break;
            }
            if (t->numFrames > n) {
                t->numFrames = uint32_t(n);
                t->len = uint32_t(n) * kCdFrameBytes;
            }
            if (!writer.write(TrackBufData(t) + t->startOffset, t->len)) {
                errorText = WriterErrorText(writer);
                result = OpFailed;
                break;
            }
            from += t->numFrames;
            progress.SetPos(uint32_t(from - first));
        }
    }

    if (!writer.close() && result == OpSuccess) {
        errorText = WriterErrorText(writer);
        result = OpFailed;
    }
    if (result != OpSuccess && created)
        QFile::remove(destination);
    handle.close();
    Trace(TRACE_DEBUG, "track ripping ended with opresult %d", result);
    return result;
}

// One open drive of the CD-audio library: its table of contents and its audio frames.
#include "platform/cdaudio/CdDevice.h"

#include "platform/cdaudio/CdImageSheet.h"
#include "platform/cdaudio/CdTrace.h"

#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cstring>

#ifdef QUILLET_WITH_CDIO
#include <cdio/cdio.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>
#endif

namespace {
constexpr int kPregapFrames = 150;          // frame 0 lies at 00:02:00
constexpr int64_t kMaxAddress = 100 * 4500; // 100 minutes: beyond every disc
constexpr int kParanoiaRetries = 5;         // re-reads of a frame before paranoia gives up

#ifdef QUILLET_WITH_CDIO
// What paranoia reported during the current verified read of this thread; its callback has
// no room for a context of its own.
struct ParanoiaEvents {
    int readErrors = 0;
    int skips = 0;
};
thread_local ParanoiaEvents t_events;

void ParanoiaCallback(long, paranoia_cb_mode_t mode) {
    if (mode == PARANOIA_CB_READERR)
        ++t_events.readErrors;
    else if (mode == PARANOIA_CB_SKIP)
        ++t_events.skips;
}

void ForwardMessages(char* messages) {
    if (!messages)
        return;
    for (const QByteArray& line : QByteArray(messages).split('\n'))
        if (!line.trimmed().isEmpty())
            CdTrace("cdda: %s", line.trimmed().constData());
    cdio_cddap_free_messages(messages);
}

driver_id_t ImageDriver(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("cue") || suffix == QLatin1String("bin"))
        return DRIVER_BINCUE;
    if (suffix == QLatin1String("toc"))
        return DRIVER_CDRDAO;
    if (suffix == QLatin1String("nrg"))
        return DRIVER_NRG;
    return DRIVER_UNKNOWN;
}

void PutAddress(TOCTRACK& entry, int64_t frame, bool msf) {
    if (msf) {
        const int64_t address = frame + kPregapFrames;
        entry.addr[0] = 0;
        entry.addr[1] = static_cast<uint8_t>(address / 4500);
        entry.addr[2] = static_cast<uint8_t>(address / 75 % 60);
        entry.addr[3] = static_cast<uint8_t>(address % 75);
    } else {
        qToBigEndian(static_cast<uint32_t>(frame), entry.addr);
    }
}
#endif

} // namespace

#ifdef QUILLET_WITH_CDIO
struct CCdDevice::Impl {
    CCdImageSheet sheet;
    CdIo_t* cdio = nullptr;
    cdrom_drive_t* drive = nullptr;
    cdrom_paranoia_t* paranoia = nullptr;
    bool image = false;

    ~Impl() {
        if (paranoia)
            cdio_paranoia_free(paranoia);
        if (drive)
            cdio_cddap_close_no_free_cdio(drive);
        if (cdio)
            cdio_destroy(cdio);
    }
};
#else
struct CCdDevice::Impl {};
#endif

CCdDevice::CCdDevice(std::unique_ptr<Impl> impl, const QString& name, int overlapFrames)
    : m_impl(std::move(impl)), m_name(name), m_overlapFrames(overlapFrames) {}

CCdDevice::~CCdDevice() = default;

std::unique_ptr<CCdDevice> CCdDevice::open(const CCdDriveSource& source, const GETCDHAND& params) {
#ifdef QUILLET_WITH_CDIO
    CdTraceInstallLogHandler();
    auto impl = std::make_unique<Impl>();
    const QByteArray path = source.path().toLocal8Bit();
    if (source.kind() == CCdDriveSource::Image) {
        impl->image = true;
        if (!QFileInfo(source.path()).isFile()) {
            CdTrace("GetCDHandle: image %s does not exist", path.constData());
            return nullptr;
        }
        QString reason;
        if (!impl->sheet.prepare(source.path(), reason)) {
            CdTrace("GetCDHandle: %s", reason.toLocal8Bit().constData());
            return nullptr;
        }
        impl->cdio =
            cdio_open(impl->sheet.openPath().toLocal8Bit().constData(), ImageDriver(source.path()));
    } else {
        impl->cdio = cdio_open(path.constData(), DRIVER_DEVICE);
    }
    if (!impl->cdio) {
        CdTrace("GetCDHandle: cannot open %s", path.constData());
        return nullptr;
    }
    CdTrace("GetCDHandle: opened %s through %s", path.constData(),
            cdio_get_driver_name(impl->cdio));
    return std::unique_ptr<CCdDevice>(
        new CCdDevice(std::move(impl), source.name(), params.numOverlap));
#else
    (void)params;
    CdTrace("GetCDHandle: %s: this build has no CD access",
            source.path().toLocal8Bit().constData());
    return nullptr;
#endif
}

bool CCdDevice::readToc(CDTOC& toc) {
#ifdef QUILLET_WITH_CDIO
    CdIo_t* cdio = m_impl->cdio;
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t count = cdio_get_num_tracks(cdio);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0 || first == 0 ||
        first + count - 1 > 99) {
        CdTrace("ReadTOC: no readable disc in %s", m_name.toLocal8Bit().constData());
        return false;
    }
    const int last = first + count - 1;
    const lsn_t leadOut = cdio_get_track_lsn(cdio, CDIO_CDROM_LEADOUT_TRACK);
    std::memset(&toc, 0, sizeof(toc));
    toc.tocLen = static_cast<uint16_t>(2 + 8 * (count + 1));
    toc.firstTrack = static_cast<uint8_t>(first);
    toc.lastTrack = static_cast<uint8_t>(last);
    int64_t previous = 0;
    for (int i = 0; i <= count; ++i) {
        TOCTRACK& entry = toc.tracks[i];
        const bool isLeadOut = i == count;
        const track_t track = track_t(isLeadOut ? int(CDIO_CDROM_LEADOUT_TRACK) : first + i);
        const lsn_t start = isLeadOut ? leadOut : cdio_get_track_lsn(cdio, track);
        if (start == CDIO_INVALID_LSN || start < previous || start > kMaxAddress) {
            CdTrace("ReadTOC: damaged table of contents in %s: track %d at frame %d",
                    m_name.toLocal8Bit().constData(), isLeadOut ? kCdLeadOutTrack : int(track),
                    int(start));
            return false;
        }
        previous = start;
        uint8_t control = 0;
        if (isLeadOut) {
            control = toc.tracks[i - 1].ADR & 0x0F;
        } else {
            if (cdio_get_track_format(cdio, track) != TRACK_FORMAT_AUDIO)
                control |= 0x04;
            if (cdio_get_track_copy_permit(cdio, track) == CDIO_TRACK_FLAG_TRUE)
                control |= 0x02;
            if (cdio_get_track_preemphasis(cdio, track) == CDIO_TRACK_FLAG_TRUE)
                control |= 0x01;
            if (cdio_get_track_channels(cdio, track) == 4)
                control |= 0x08;
        }
        entry.ADR = static_cast<uint8_t>(0x10 | control);
        entry.trackNumber = isLeadOut ? kCdLeadOutTrack : static_cast<uint8_t>(track);
        PutAddress(entry, start, m_tocMsf);
    }
    return true;
#else
    (void)toc;
    return false;
#endif
}

bool CCdDevice::checkRequest(const TRACKBUF& buffer, const char* call) const {
    const uint64_t bytes = uint64_t(buffer.numFrames) * kCdFrameBytes;
    if (buffer.numFrames == 0 || bytes > buffer.maxLen || buffer.startFrame > kMaxAddress) {
        CdTrace("%s: %u frames from frame %u do not fit a buffer of %u bytes", call,
                buffer.numFrames, buffer.startFrame, buffer.maxLen);
        return false;
    }
    return true;
}

bool CCdDevice::readFrames(TRACKBUF& buffer) {
    if (!checkRequest(buffer, "ReadCDAudioLBA"))
        return false;
#ifdef QUILLET_WITH_CDIO
    const driver_return_code_t result = cdio_read_audio_sectors(
        m_impl->cdio, TrackBufData(&buffer), lsn_t(buffer.startFrame), buffer.numFrames);
    if (result != DRIVER_OP_SUCCESS) {
        CdTrace("ReadCDAudioLBA: reading %u frames from frame %u failed: %s", buffer.numFrames,
                buffer.startFrame, cdio_driver_errmsg(result));
        buffer.status = 1;
        return false;
    }
    buffer.len = buffer.numFrames * kCdFrameBytes;
    buffer.startOffset = 0;
    buffer.status = 0;
    return true;
#else
    return false;
#endif
}

bool CCdDevice::startParanoia() {
#ifdef QUILLET_WITH_CDIO
    if (m_impl->paranoia)
        return true;
    char* messages = nullptr;
    m_impl->drive = cdio_cddap_identify_cdio(m_impl->cdio, CDDA_MESSAGE_LOGIT, &messages);
    ForwardMessages(messages);
    if (!m_impl->drive) {
        CdTrace("ReadCDAudioLBAEx: %s holds no audio disc", m_name.toLocal8Bit().constData());
        return false;
    }
    cdio_cddap_verbose_set(m_impl->drive, CDDA_MESSAGE_LOGIT, CDDA_MESSAGE_LOGIT);
    // An image holds its samples little-endian; only a drive's byte order needs guessing.
    if (m_impl->image)
        m_impl->drive->bigendianp = 0;
    const int opened = cdio_cddap_open(m_impl->drive);
    ForwardMessages(cdio_cddap_messages(m_impl->drive));
    ForwardMessages(cdio_cddap_errors(m_impl->drive));
    if (opened != 0) {
        CdTrace("ReadCDAudioLBAEx: %s cannot be read as an audio disc (%d)",
                m_name.toLocal8Bit().constData(), opened);
        return false;
    }
    m_impl->paranoia = cdio_paranoia_init(m_impl->drive);
    if (!m_impl->paranoia)
        return false;
    cdio_paranoia_modeset(m_impl->paranoia, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
    return true;
#else
    return false;
#endif
}

bool CCdDevice::readFramesVerified(TRACKBUF& buffer, TRACKBUF& overlap) {
    if (!checkRequest(buffer, "ReadCDAudioLBAEx") || !startParanoia())
        return false;
#ifdef QUILLET_WITH_CDIO
    const lsn_t first = cdio_cddap_disc_firstsector(m_impl->drive);
    const lsn_t last = cdio_cddap_disc_lastsector(m_impl->drive);
    const int64_t start = buffer.startFrame;
    if (start < first || start > last) {
        CdTrace("ReadCDAudioLBAEx: frame %lld lies outside the audio frames %d to %d",
                static_cast<long long>(start), int(first), int(last));
        return false;
    }
    // A read running past the last audio frame delivers the audio frames before it.
    buffer.numFrames = uint32_t(std::min<int64_t>(buffer.numFrames, last - start + 1));
    const bool continues = overlap.numFrames > 0 && m_nextFrame == start &&
                           int64_t(overlap.startFrame) + overlap.numFrames == start;
    if (!continues)
        cdio_paranoia_seek(m_impl->paranoia, int32_t(start), SEEK_SET);
    m_nextFrame = -1;
    uint8_t* out = TrackBufData(&buffer);
    for (uint32_t i = 0; i < buffer.numFrames; ++i) {
        t_events = ParanoiaEvents();
        const int16_t* samples =
            cdio_paranoia_read_limited(m_impl->paranoia, ParanoiaCallback, kParanoiaRetries);
        ForwardMessages(cdio_cddap_errors(m_impl->drive));
        if (!samples || t_events.skips > 0) {
            CdTrace("ReadCDAudioLBAEx: frame %lld could not be read (%d read errors, %d skips)",
                    static_cast<long long>(start + i), t_events.readErrors, t_events.skips);
            buffer.status = 1;
            return false;
        }
        for (int k = 0; k < kCdFrameBytes / 2; ++k)
            qToLittleEndian(samples[k], out + i * kCdFrameBytes + 2 * k);
    }
    buffer.len = buffer.numFrames * kCdFrameBytes;
    buffer.startOffset = 0;
    buffer.status = 0;
    m_nextFrame = start + buffer.numFrames;

    const uint32_t keep = std::min<uint32_t>(
        {uint32_t(m_overlapFrames), buffer.numFrames, overlap.maxLen / kCdFrameBytes});
    overlap.startFrame = uint32_t(m_nextFrame - keep);
    overlap.numFrames = keep;
    overlap.len = keep * kCdFrameBytes;
    overlap.startOffset = 0;
    overlap.status = 0;
    std::memcpy(TrackBufData(&overlap), out + (buffer.numFrames - keep) * kCdFrameBytes,
                overlap.len);
    return true;
#else
    (void)overlap;
    return false;
#endif
}

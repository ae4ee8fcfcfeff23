// The CD-audio library: drive list, table of contents and audio frames through handle calls.
#pragma once

#include <cstddef>
#include <cstdint>

// Drives are the system's CD drives followed by the CD images (.cue/.bin, .toc, .nrg) named in
// the environment variable QUILLET_CD_IMAGES, separated by colons. The records below keep their
// byte-packed layouts; every call returns 1 for success and 0 for failure unless it says other.

using HCDROM = uint32_t;
using AKRIPTRACEFUNC = void (*)(const char* text);

constexpr int kCdMaxDrives = 8;            // drive records in a drive list
constexpr int kCdMaxIdLength = 64;         // characters of a drive's name
constexpr int kCdFrameBytes = 2352;        // one frame: 1/75 s of 16-bit stereo at 44100 Hz
constexpr int kCdTocEntries = 100;         // track entries of a table, the lead-out included
constexpr uint8_t kCdLeadOutTrack = 170;   // track number of the lead-out entry
constexpr uint32_t kCdParamTocMsf = 0x24;  // ModifyCDParms: 1 reports addresses as M:S:F
constexpr uint32_t kCdTrackBufHeader = 24; // bytes before the audio bytes of a track buffer

#pragma pack(push, 1)

// One drive: its address, its name as 8-bit text, and what the drive says about itself.
struct CDREC {
    uint8_t ha;  // host adapter: 0 system drives, 1 images
    uint8_t tgt; // target: the drive's place among its kind
    uint8_t lun; // logical unit: 0
    uint8_t pad;
    char id[kCdMaxIdLength + 1]; // the name a person knows it by, zero-terminated
    char vendor[9];
    char prodId[17];
    char rev[5];
    char vendorSpec[21]; // the device or image file, cut to fit
};
static_assert(sizeof(CDREC) == 121);
static_assert(offsetof(CDREC, id) == 4);

// What GetCDList fills: the caller sets max, the library sets num and the first num records.
struct CDLIST {
    uint8_t max;
    uint8_t num;
    CDREC cd[kCdMaxDrives];
};
static_assert(sizeof(CDLIST) == 2 + 8 * 121);

// The open parameters of one drive for GetCDHandle; 12 bytes.
struct GETCDHAND {
    uint8_t size; // 12
    uint8_t ver;  // 1
    uint8_t ha;
    uint8_t tgt;
    uint8_t lun;
    uint8_t readType;    // 1
    uint32_t jitterCorr; // 0
    uint8_t numJitter;   // 1
    uint8_t numOverlap;  // frames kept between verified reads, 3
};
static_assert(sizeof(GETCDHAND) == 12);
static_assert(offsetof(GETCDHAND, jitterCorr) == 6);

// One entry of a table of contents; addr is a big-endian frame number, or 0, M, S, F.
struct TOCTRACK {
    uint8_t rsvd;
    uint8_t ADR; // address kind in the high nibble, control bits in the low one (4: data)
    uint8_t trackNumber;
    uint8_t rsvd2;
    uint8_t addr[4];
};
static_assert(sizeof(TOCTRACK) == 8);

// A table of contents: one entry per track from first to last, then the lead-out.
struct CDTOC {
    uint16_t tocLen; // bytes after this field: 2 + 8 per entry
    uint8_t firstTrack;
    uint8_t lastTrack;
    TOCTRACK tracks[kCdTocEntries];
};
static_assert(sizeof(CDTOC) == 804);

// A buffer of audio frames: the caller sets startFrame, numFrames and maxLen; a read sets
// numFrames, len and status, and the audio bytes start at startOffset after the header.
struct TRACKBUF {
    uint32_t startFrame;
    uint32_t numFrames;
    uint32_t maxLen;
    uint32_t len;
    uint32_t status;
    int32_t startOffset;
    uint8_t buf[1];
};
static_assert(offsetof(TRACKBUF, buf) == kCdTrackBufHeader);

#pragma pack(pop)

// The audio bytes of a track buffer: maxLen bytes after its header.
inline uint8_t* TrackBufData(TRACKBUF* t) {
    return reinterpret_cast<uint8_t*>(t) + kCdTrackBufHeader;
}
inline const uint8_t* TrackBufData(const TRACKBUF* t) {
    return reinterpret_cast<const uint8_t*>(t) + kCdTrackBufHeader;
}

// Fills the list with up to list->max (at most 8) drives; 1 when the drives could be listed.
int GetCDList(CDLIST* list);
// Opens the drive the parameters address; a non-zero handle, 0 on failure.
HCDROM GetCDHandle(const GETCDHAND* params);
// Changes a parameter of an open drive; kCdParamTocMsf picks the address form of ReadTOC.
int ModifyCDParms(HCDROM handle, uint32_t which, uint32_t value);
// Reads the table of contents of the disc in the drive.
int ReadTOC(HCDROM handle, CDTOC* toc);
// Reads numFrames frames from startFrame as the drive delivers them.
int ReadCDAudioLBA(HCDROM handle, TRACKBUF* buffer);
// Reads with jitter correction; a read running past the last audio frame delivers the frames
// before it (numFrames tells how many). overlap keeps the last frames delivered, so a read that
// goes on where the previous one stopped is verified across the seam. Set overlap->numFrames to 0
// and overlap->maxLen to its room before the first read.
int ReadCDAudioLBAEx(HCDROM handle, TRACKBUF* buffer, TRACKBUF* overlap);
// Closes an open drive; 0 for an unknown handle.
int CloseCDHandle(HCDROM handle);
// The function that receives the library's own texts, or nullptr for none.
void SetAKRipTraceFunc(AKRIPTRACEFUNC function);
// The library's version: major in the low byte, minor in the bits above it.
uint32_t GetASPI32DLLVersion();

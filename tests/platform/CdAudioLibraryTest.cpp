// The CD-audio library over images the tests make: drive list, open parameters, tables of
// contents in both address forms, plain and verified reads, damaged images and the trace texts.
#include "platform/CdAudioTestImage.h"
#include "platform/cdaudio/CdAudio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

using namespace Qt::StringLiterals;

using cdtest::Image;
using cdtest::ImagesVariable;
using cdtest::Track;

// libcdio's own parsers keep a copy of a file name when they give up on a damaged sheet; that
// leak is theirs, so LeakSanitizer leaves libcdio's allocations out of this suite's report.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libcdio.so\n";
}

namespace {
std::mutex g_textsLock;
std::vector<std::string> g_texts;

void CollectText(const char* text) {
    const std::lock_guard<std::mutex> lock(g_textsLock);
    g_texts.emplace_back(text);
}

// Collects the library's texts for one test.
class LibraryTexts {
public:
    LibraryTexts() {
        g_texts.clear();
        SetAKRipTraceFunc(CollectText);
    }
    ~LibraryTexts() { SetAKRipTraceFunc(nullptr); }
    bool has(const std::string& part) const {
        const std::lock_guard<std::mutex> lock(g_textsLock);
        for (const std::string& text : g_texts)
            if (text.find(part) != std::string::npos)
                return true;
        return false;
    }
    std::string all() const {
        const std::lock_guard<std::mutex> lock(g_textsLock);
        std::string joined;
        for (const std::string& text : g_texts)
            joined += text + "\n";
        return joined;
    }
};

CDLIST ListDrives(int max = kCdMaxDrives) {
    CDLIST list;
    std::memset(&list, 0xCC, sizeof(list));
    list.max = uint8_t(max);
    EXPECT_EQ(GetCDList(&list), 1);
    return list;
}

// The record of the drive named name; a zeroed record with ha 255 when none is.
CDREC Record(const QString& name) {
    const CDLIST list = ListDrives();
    for (int i = 0; i < list.num; ++i)
        if (QString::fromLocal8Bit(list.cd[i].id) == name)
            return list.cd[i];
    CDREC none{};
    none.ha = 255;
    return none;
}

GETCDHAND Params(const CDREC& drive) {
    return {12, 1, drive.ha, drive.tgt, drive.lun, 1, 0, 1, 3};
}

HCDROM Open(const QString& name) {
    const GETCDHAND params = Params(Record(name));
    return GetCDHandle(&params);
}

uint32_t Address(const TOCTRACK& entry) {
    return qFromBigEndian<uint32_t>(entry.addr);
}

// A track buffer with room for frames, as the library's callers allocate it.
struct Buffer {
    explicit Buffer(uint32_t frames) : storage((frames * 2352 + 24 + 7) / 8) {
        get()->maxLen = frames * 2352;
        get()->numFrames = 0;
    }
    TRACKBUF* get() { return reinterpret_cast<TRACKBUF*>(storage.data()); }
    QByteArray audio() {
        return QByteArray(reinterpret_cast<const char*>(TrackBufData(get())) + get()->startOffset,
                          get()->len);
    }
    // The audio of frames [first, first + count): a verified read with the overlap buffer,
    // else a plain one; "failed" when the library refuses.
    QByteArray read(HCDROM handle, uint32_t first, uint32_t count, Buffer* overlap = nullptr) {
        get()->startFrame = first;
        get()->numFrames = count;
        const int ok = overlap ? ReadCDAudioLBAEx(handle, get(), overlap->get())
                               : ReadCDAudioLBA(handle, get());
        return ok == 1 ? audio() : QByteArray("failed");
    }
    std::vector<uint64_t> storage;
};

// An image of three audio tracks and a data track right behind them.
Image MixedImage(int dataGap = 0) {
    return Image({{false, 200, 0}, {false, 157, 0}, {false, 180, 0}, {true, 300, dataGap}});
}
} // namespace

TEST(CdAudioLibrary, ListsEveryImageByFileNameUpToTheRoomGivenAndTracesOnlyWhenAsked) {
    QTemporaryDir dir;
    const QString cue = MixedImage().writeCue(dir.path(), u"Mixed Disc"_s);
    // 85 bytes of UTF-8: the name is cut to whole characters within 64 bytes, not inside an é.
    const QString longName = u"a"_s + QString(40, QChar(0x00E9));
    const ImagesVariable images({cue, dir.filePath(u"missing.cue"_s), dir.filePath(u"other.toc"_s),
                                 MixedImage().writeCue(dir.path(), longName)});
    CDLIST list;
    {
        const LibraryTexts texts;
        list = ListDrives();
        EXPECT_TRUE(texts.has("GetCDList: ")) << texts.all();
    }
    ASSERT_GE(list.num, 4);
    const int base = list.num - 4; // the system's drives come first
    const CDREC& first = list.cd[base];
    EXPECT_EQ(std::tuple(first.ha, first.tgt, first.lun), std::tuple(1, 0, 0));
    EXPECT_STREQ(first.id, "Mixed Disc.cue");
    // A missing image is listed all the same; opening it is what fails.
    EXPECT_STREQ(list.cd[base + 1].id, "missing.cue");
    EXPECT_EQ(list.cd[base + 1].tgt, 1);
    EXPECT_EQ(QString::fromUtf8(list.cd[base + 3].id), longName.left(32));
    // Without a registered function no text is collected.
    g_texts.clear();
    const CDLIST two = ListDrives(base + 2);
    EXPECT_TRUE(g_texts.empty());
    EXPECT_EQ(two.num, base + 2);
    EXPECT_EQ(two.cd[base + 2].ha, 0xCC) << "a record beyond the room given was written";

    const ImagesVariable eleven(QStringList(11, cue));
    EXPECT_EQ(ListDrives(200).num, kCdMaxDrives);
}

TEST(CdAudioLibrary, OpenParametersAndHandles) {
    QTemporaryDir dir;
    const QString cue = MixedImage().writeCue(dir.path(), u"disc"_s);
    const ImagesVariable images({cue, dir.filePath(u"gone.cue"_s)});
    const LibraryTexts texts;

    GETCDHAND params = Params(Record(u"disc.cue"_s));
    params.tgt = 7;
    EXPECT_EQ(GetCDHandle(&params), 0u);
    EXPECT_TRUE(texts.has("GetCDHandle: no drive at 1:7:0")) << texts.all();
    EXPECT_EQ(GetCDHandle(nullptr), 0u);

    EXPECT_EQ(Open(u"gone.cue"_s), 0u);
    EXPECT_TRUE(texts.has("does not exist")) << texts.all();

    const HCDROM first = Open(u"disc.cue"_s);
    const HCDROM second = Open(u"disc.cue"_s);
    EXPECT_TRUE(texts.has("GetCDHandle: opened")) << texts.all();
    ASSERT_TRUE(first != 0u && second != 0u && first != second);
    EXPECT_EQ(ModifyCDParms(first, 0x25, 1), 0);
    EXPECT_EQ(ModifyCDParms(first, kCdParamTocMsf, 1), 1);
    EXPECT_EQ(CloseCDHandle(first), 1);
    EXPECT_EQ(CloseCDHandle(first), 0);
    CDTOC toc;
    EXPECT_EQ(ReadTOC(first, &toc), 0);
    EXPECT_TRUE(texts.has("ReadTOC: unknown handle")) << texts.all();
    EXPECT_EQ(ReadTOC(second, &toc), 1);
    EXPECT_EQ(CloseCDHandle(second), 1);
}

TEST(CdAudioLibrary, TableOfContentsInBothAddressFormsAndReadsOfTheImageFrames) {
    QTemporaryDir dir;
    const Image image = MixedImage();
    const ImagesVariable images(
        {image.writeCue(dir.path(), u"disc"_s), image.writeToc(dir.path(), u"cdrdao"_s)});
    for (const QString& name : {u"disc.cue"_s, u"cdrdao.toc"_s}) {
        SCOPED_TRACE(name.toStdString());
        const HCDROM handle = Open(name);
        ASSERT_NE(handle, 0u);
        CDTOC lba;
        std::memset(&lba, 0, sizeof(lba));
        ASSERT_EQ(ReadTOC(handle, &lba), 1);
        EXPECT_EQ(std::tuple(lba.tocLen, lba.firstTrack, lba.lastTrack), std::tuple(42, 1, 4));
        const uint8_t adr[] = {0x10, 0x10, 0x10, 0x14, 0x14};
        const uint32_t starts[] = {0, 200, 357, 537, 837};
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(
                std::tuple(lba.tracks[i].ADR, lba.tracks[i].trackNumber, Address(lba.tracks[i])),
                std::tuple(adr[i], i < 4 ? i + 1 : 170, starts[i]))
                << i;
        }
        EXPECT_EQ(lba.tracks[5].trackNumber, 0) << "entries after the lead-out stay zero";

        ASSERT_EQ(ModifyCDParms(handle, kCdParamTocMsf, 1), 1);
        CDTOC msf;
        ASSERT_EQ(ReadTOC(handle, &msf), 1);
        EXPECT_EQ(std::tuple(msf.firstTrack, msf.lastTrack, msf.tracks[4].trackNumber),
                  std::tuple(1, 4, 170));
        // The lead-out at frame 837 lies at 00:13:12 (150 frames of lead-in before frame 0).
        const uint8_t leadOut[] = {0, 0, 13, 12};
        EXPECT_EQ(std::memcmp(msf.tracks[4].addr, leadOut, 4), 0);

        Buffer buffer(26);
        EXPECT_TRUE(buffer.read(handle, 190, 26) == image.frames(190, 26));
        // Verified reads one after the other, as an extraction makes them: the overlap buffer
        // keeps the last three frames of each read.
        Buffer overlap(3);
        QByteArray joined;
        for (uint32_t from = 150; from < 250; from += 26) {
            joined += buffer.read(handle, from, 26, &overlap);
            EXPECT_EQ(std::tuple(overlap.get()->startFrame, overlap.get()->numFrames),
                      std::tuple(from + 23, 3u));
            EXPECT_TRUE(QByteArray(reinterpret_cast<const char*>(TrackBufData(overlap.get())),
                                   overlap.get()->len) == image.frames(from + 23, 3));
        }
        EXPECT_TRUE(joined == image.frames(150, 104));
        // A read into the data track ends with the last audio frame; frames of the data track
        // are no audio; a buffer too small for the request is refused.
        EXPECT_TRUE(buffer.read(handle, 520, 26, &overlap) == image.frames(520, 17));
        EXPECT_EQ(buffer.read(handle, 600, 10, &overlap), "failed");
        EXPECT_EQ(buffer.read(handle, 0, 27, &overlap), "failed");
        EXPECT_EQ(buffer.read(handle, 0, 27), "failed");
        EXPECT_EQ(CloseCDHandle(handle), 1);
    }
}

TEST(CdAudioLibrary, SheetsNamingFilesTheirOwnWay) {
    QTemporaryDir dir;
    const Image image = Image({{false, 160, 0}, {false, 170, 0}});
    // A cue whose .bin is not named like it, and a .toc naming its file without a folder,
    // opened while the working folder is elsewhere.
    const QString cue = image.writeCue(dir.path(), u"album"_s, u"Album Data.bin"_s);
    const QString toc = image.writeToc(dir.path(), u"relative"_s);
    const QString twoFiles = dir.filePath(u"two.cue"_s);
    testsupport::WriteBytes(twoFiles, "FILE \"a.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 "
                                      "00:00:00\nFILE \"b.bin\" BINARY\n  TRACK 02 AUDIO\n"
                                      "    INDEX 01 00:00:00\n");
    const ImagesVariable images({cue, toc, twoFiles});
    const LibraryTexts texts;
    ASSERT_NE(QDir::currentPath(), dir.path());

    for (const QString& name : {u"album.cue"_s, u"relative.toc"_s}) {
        SCOPED_TRACE(name.toStdString());
        const HCDROM handle = Open(name);
        ASSERT_NE(handle, 0u) << texts.all();
        CDTOC table{};
        ASSERT_EQ(ReadTOC(handle, &table), 1);
        EXPECT_EQ(std::tuple(table.lastTrack, Address(table.tracks[2])), std::tuple(2, 330u));
        Buffer buffer(20), overlap(3);
        EXPECT_TRUE(buffer.read(handle, 300, 20, &overlap) == image.frames(300, 20));
        CloseCDHandle(handle);
    }
    EXPECT_EQ(Open(u"two.cue"_s), 0u);
    EXPECT_TRUE(texts.has("names 2 files")) << texts.all();
}

TEST(CdAudioLibrary, DamagedImagesFailWithoutHarm) {
    QTemporaryDir dir;
    const auto write = [&](const char* name, const QByteArray& bytes) {
        testsupport::WriteBytes(dir.filePath(QString::fromLatin1(name)), bytes);
        return dir.filePath(QString::fromLatin1(name));
    };
    const QByteArray someFrames = cdtest::AudioFrames(0, 40);
    const QString garbage = write("garbage.cue", QByteArray("\x01\x02 TRACK zz\n\xff", 14));
    write("garbage.bin", someFrames);
    const QString noIndex = write("noindex.cue", "FILE \"noindex.bin\" BINARY\n  TRACK 01 AUDIO\n"
                                                 "  TRACK 02 AUDIO\n");
    write("noindex.bin", someFrames);
    const QString noTracks = write("notracks.cue", "FILE \"notracks.bin\" BINARY\n");
    write("notracks.bin", someFrames);
    // Track 2 starts beyond the end of its file.
    const QString beyond = write("beyond.cue", "FILE \"beyond.bin\" BINARY\n  TRACK 01 AUDIO\n"
                                               "    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n"
                                               "    INDEX 01 00:05:00\n");
    write("beyond.bin", someFrames);
    // A data file offset past the end of the file: libcdio reports an error here, which its
    // own log handler would answer by ending the process.
    const QString pastEnd = write("pastend.toc", "CD_ROM\nTRACK MODE1_RAW\nDATAFILE \"" +
                                                     dir.filePath("beyond.bin").toLocal8Bit() +
                                                     "\" #99999999 00:02:00\n");
    const QString empty = write("empty.nrg", QByteArray());
    const QString noise = write("noise.nrg", cdtest::AudioFrames(3, 5));
    const ImagesVariable images({garbage, noIndex, noTracks, beyond, pastEnd, empty, noise});
    const LibraryTexts texts;

    for (const char* name : {"garbage.cue", "empty.nrg", "noise.nrg"})
        EXPECT_EQ(Open(QString::fromLatin1(name)), 0u) << name;
    EXPECT_TRUE(texts.has("GetCDHandle: cannot open")) << texts.all();

    for (const char* name : {"noindex.cue", "notracks.cue", "beyond.cue", "pastend.toc"}) {
        SCOPED_TRACE(name);
        const HCDROM handle = Open(QString::fromLatin1(name));
        if (!handle)
            continue;
        CDTOC toc{};
        EXPECT_EQ(ReadTOC(handle, &toc), 0);
        CloseCDHandle(handle);
    }
    EXPECT_TRUE(texts.has("ReadTOC: damaged table of contents")) << texts.all();
    EXPECT_TRUE(texts.has("ReadTOC: no readable disc")) << texts.all();
    EXPECT_TRUE(texts.has("libcdio error: ")) << texts.all();
}

TEST(CdAudioLibrary, NeroImagesAndDamagedNeroDirectories) {
    QTemporaryDir dir;
    const Image image({{false, 200, 0}, {false, 170, 0}});
    const QString nrg = image.writeNrg(dir.path(), u"nero"_s);
    const QByteArray good = testsupport::ReadBytes(nrg);
    const qsizetype directory = image.bin().size();

    // Each damage keeps the frames and spoils the directory at the end of the file.
    const auto damaged = [&](const char* name, const std::function<void(QByteArray&)>& spoil) {
        QByteArray bytes = good;
        spoil(bytes);
        testsupport::WriteBytes(dir.filePath(QString::fromLatin1(name)), bytes);
        return dir.filePath(QString::fromLatin1(name));
    };
    const auto put32 = [](QByteArray& bytes, qsizetype at, quint32 value) {
        qToBigEndian(value, bytes.data() + at);
    };
    const QStringList bad = {
        damaged("outside.nrg", [&](QByteArray& b) { put32(b, b.size() - 4, 0x7FFFFFF0); }),
        damaged("longchunk.nrg", [&](QByteArray& b) { put32(b, directory + 4, 4000); }),
        damaged("oddtable.nrg", [&](QByteArray& b) { put32(b, directory + 4, 60); }),
        damaged("noend.nrg", [&](QByteArray& b) { b.replace(directory + 72, 4, "XND!"); }),
    };
    QStringList all = {nrg};
    all += bad;
    const ImagesVariable images(all);
    const LibraryTexts texts;

    const HCDROM handle = Open(u"nero.nrg"_s);
    ASSERT_NE(handle, 0u) << texts.all();
    CDTOC toc{};
    ASSERT_EQ(ReadTOC(handle, &toc), 1);
    EXPECT_EQ(std::tuple(toc.lastTrack, Address(toc.tracks[1]), toc.tracks[2].trackNumber,
                         Address(toc.tracks[2])),
              std::tuple(2, 200u, 170, 370u));
    Buffer buffer(26), overlap(3);
    EXPECT_TRUE(buffer.read(handle, 190, 26, &overlap) == image.frames(190, 26));
    CloseCDHandle(handle);

    for (const QString& path : bad)
        EXPECT_EQ(Open(QFileInfo(path).fileName()), 0u) << path.toStdString();
    EXPECT_TRUE(texts.has("Nero")) << texts.all();
}

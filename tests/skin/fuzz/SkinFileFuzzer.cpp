// libFuzzer entry: damaged skin files, bitmaps, regions and cursors fail cleanly and never crash.
// The first byte picks the kind of input: 0 a skin file (text up to the first NUL; the bytes
// after it become the files "x.bmp", "x.rgn" and "x.cur" the text may name), 1 a BMP file,
// 2 a region file, 3 a cursor file.
#include "app/Trace.h"
#include "skin/CursorFile.h"
#include "skin/DynBitmap.h"
#include "skin/DynRgn.h"
#include "skin/Font.h"
#include "skin/ImageList.h"
#include "skin/SkinParser.h"
#include "skin/XButtonCfg.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdint>

namespace {

QTemporaryDir* g_dir = nullptr;

void Write(const QString& name, const QByteArray& bytes) {
    QFile file(g_dir->filePath(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

// Offers the current entry to every value operation under its own key.
void OfferEntry(CSkinParser& p) {
    const QString key = p.currentKey();
    int n = 0;
    ColorRef color = 0;
    SkinRect rect;
    QPoint a, b;
    QSize size;
    CFont font;
    CDynBitmap bitmap;
    CDynRgn region;
    CImageList images;
    QString text;
    bool flag = false;
    QCursor cursor;
    QStringList list;
    p.getInt(key, n);
    p.getColor(key, color);
    p.getRect(key, rect);
    p.getTwoPoints(key, a, b);
    p.getPoint(key, a);
    p.getSize(key, size);
    p.getFont(key, font);
    if (p.getBitmap(key, bitmap)) {
        QImage target(8, 8, QImage::Format_RGB32);
        QPainter painter(&target);
        bitmap.drawTransparent(painter, QPoint(-1, -1), color);
    }
    p.getRegion(key, region);
    p.getImageList(key, images);
    p.getFile(key, text);
    p.getText(key, text);
    p.getBool(key, flag);
    p.getCursor(key, cursor);
    p.getTextList(key, list);
}

void FuzzSkinFile(const QByteArray& input) {
    const qsizetype nul = input.indexOf('\0');
    const QByteArray text = nul < 0 ? input : input.left(nul);
    const QByteArray payload = nul < 0 ? QByteArray() : input.mid(nul + 1);
    Write(QStringLiteral("__default.sdf"), text);
    for (const char* name : {"x.bmp", "x.rgn", "x.cur"})
        Write(QString::fromLatin1(name), payload);
    CSkinParser parser;
    if (!parser.init(g_dir->filePath(QStringLiteral("__default.sdf")), QStringLiteral("PP_SDF")))
        return;
    QStringList headers;
    parser.rewind();
    for (QString h = parser.nextSection(); !h.isEmpty() && headers.size() < 32;
         h = parser.nextSection())
        headers.append(h);
    for (const QString& header : headers) {
        if (parser.openSection(header)) {
            while (parser.nextKey())
                OfferEntry(parser);
        }
        for (int kind : {0, 3}) {
            CXButtonCfg config;
            config.load(parser, header, kind, kind == 3);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(*argc, *argv);
    g_dir = new QTemporaryDir;
    TraceSetLevel(0);
    // With QUILLET_FUZZ_SEEDS set, the shipped skins are cut into seeds of every kind.
    const QString seeds = qEnvironmentVariable("QUILLET_FUZZ_SEEDS");
    if (!seeds.isEmpty()) {
        QDir(seeds).mkpath(QStringLiteral("."));
        const QDir skin(QStringLiteral(QUILLET_SHIPPED_SKINS "/en"));
        auto read = [&](const QString& name) {
            QFile f(skin.filePath(name));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        auto seed = [&](const char* name, char kind, const QByteArray& bytes) {
            QFile f(QDir(seeds).filePath(QString::fromLatin1(name)));
            if (f.open(QIODevice::WriteOnly))
                f.write(QByteArray(1, kind) + bytes);
        };
        const QByteArray nul(1, '\0');
        seed("skin", 0, read(QStringLiteral("__default.sdf")));
        seed("skin_bmp", 0,
             "PP_SDF=1\n[b]\nposition=1,2,3,4\nsize=4,4\nbitmap_up=x.bmp\nlist=x.bmp,2,255,0,255\n"
             "font=DejaVu Sans,-11,bold,italic,underline\ncolor=1,,2,3\n" +
                 nul + read(QStringLiteral("sv_cut_left.bmp")));
        seed("skin_rgn", 0,
             "PP_SDF=1\n[b]\nregion_paint=x.rgn\ncursor=x.cur\n" + nul +
                 read(QStringLiteral("window.rgn")).left(32 + 16 * 12));
        seed("skin_cur", 0,
             "PP_SDF=1\n[b]\ncursor=x.cur\n" + nul + read(QStringLiteral("hand.cur")));
        for (const auto& [name, kind, file] : {std::tuple{"bmp_tile", 1, "sv_center.bmp"},
                                               {"bmp_curpos", 1, "sv_curpos.bmp"},
                                               {"rgn", 2, "window.rgn"},
                                               {"cur", 3, "hand.cur"},
                                               {"ico", 3, "quillet.ico"}})
            seed(name, char(kind), read(QString::fromLatin1(file)));
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 1 << 20)
        return 0;
    const QByteArray input(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    switch (data[0] % 4) {
    case 0:
        FuzzSkinFile(input);
        break;
    case 1: {
        QByteArray copy = input;
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        CDynBitmap().load(buffer);
        break;
    }
    case 2:
        CDynRgn().loadData(input, 1.0, 1.0);
        break;
    default:
        if (CCursorFile cursor; cursor.loadData(input))
            cursor.cursor();
        break;
    }
    return 0;
}

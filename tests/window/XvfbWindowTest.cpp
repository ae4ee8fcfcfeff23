// The real quillet binary under a virtual X server, driven by real X events at the skin's
// positions: a later start hands over its file, dragging moves the window, exit stores the state,
// and the next start shows the window where it was left.
#include "WindowTestSupport.h"
#include "app/ConfigFile.h"
#include "skin/SkinParser.h"
#include "skin/XButton.h"
#include "support/TestSupport.h"
#include "support/Tone.h"

#include <QProcess>
#include <QStandardPaths>

using namespace windowtest;
using namespace testsupport;
using namespace Qt::StringLiterals;

namespace {
// The centre of a button of the skin in the window: a dialog button, or one of the main control
// (placed in the control, which sits at "sl_ctrl_position").
QPoint ButtonCentre(const QString& skin, const QString& section, bool inControl) {
    CSkinParser parser;
    CDynBitmap background, controlBackground;
    QPoint controlAt;
    CXButtonCfg button;
    if (!parser.init(skin, u"PP_SDF"_s) || !parser.openSection(u"[main]"_s))
        return {};
    while (parser.nextKey())
        parser.getBitmap(u"bitmap"_s, background) ||
            parser.getPoint(u"sl_ctrl_position"_s, controlAt);
    if (!parser.openSection(u"[ql_ctrl]"_s))
        return {};
    while (parser.nextKey())
        parser.getBitmap(u"bitmap_bg"_s, controlBackground);
    if (!button.load(parser, section, CXButton::PushButton, false))
        return {};
    const QSize parent = inControl ? controlBackground.size() : background.size();
    return CXButton::PlacedPosition(button.position, button.anchor, parent) +
           QPoint(button.size.x() / 2, button.size.y() / 2) + (inControl ? controlAt : QPoint());
}
} // namespace

TEST(XvfbWindow, RealClicksHandOverDragAndExit) {
    if (QStandardPaths::findExecutable(u"xvfb-run"_s).isEmpty())
        GTEST_SKIP() << "xvfb-run is not installed";
#if defined(__SANITIZE_THREAD__)
    // The X11 client libraries under Qt's X11 platform (libxcb, libX11, libXrender, GLib) are not
    // instrumented and lock for one another, so ThreadSanitizer reports their own hand-offs; the
    // window's threads are checked by the offscreen window tests of this build.
    GTEST_SKIP() << "the X11 libraries are not instrumented for ThreadSanitizer";
#endif
    EnsureGuiApp(); // the skin's pictures are read as the window reads them
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString first = work.filePath(u"first.wav"_s), second = work.filePath(u"second.wav"_s);
    WriteToneWav(first, 12.0);
    WriteToneWav(second, 30.0);
    const QPoint exit = ButtonCentre(ShippedSkin("en"), u"[btn_exit]"_s, false);
    const QPoint play = ButtonCentre(ShippedSkin("en"), u"[btn_play]"_s, true);
    ASSERT_EQ(exit, QPoint(774, 22));
    ASSERT_FALSE(play.isNull());

    QProcess run;
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(u"xvfb-run"_s,
              {u"-a"_s, u"-s"_s, u"-screen 0 1280x800x24 -noreset"_s, u"bash"_s,
               QStringLiteral(QUILLET_TEST_DATA_DIR "/../window/xvfb-drive.sh"),
               QStringLiteral(QUILLET_BIN_DIR "/quillet"), work.path(), first, second, u"400"_s,
               u"20"_s, QString::number(exit.x()), QString::number(exit.y()),
               QString::number(play.x()), QString::number(play.y())});
    ASSERT_TRUE(run.waitForFinished(90000));
    const QByteArray output = run.readAll();
    ASSERT_EQ(run.exitCode(), 0) << output.toStdString();

    QStringList result = QString::fromUtf8(ReadBytes(work.filePath(u"result.txt"_s))).split('\n');
    result.removeAll(QString());
    ASSERT_EQ(result.size(), 7) << output.toStdString();
    EXPECT_EQ(result[0], u"second_status=0"_s);
    // Play sounded on the virtual card: the second input's tone went out.
    EXPECT_EQ(result[6], u"played=1"_s);
    const DecodedWav played = ReadDecodedWav(work.filePath(u"out.wav"_s));
    EXPECT_GT(played.frames(), 8000u);
    EXPECT_EQ(result[3], u"first_status=0"_s);
    // The drag moved the window by the pointer's way.
    const QStringList before = result[1].mid(7).split(','), after = result[2].mid(6).split(',');
    EXPECT_EQ(after[0].toInt() - before[0].toInt(), 120) << result.join(' ').toStdString();
    EXPECT_EQ(after[1].toInt() - before[1].toInt(), 80) << result.join(' ').toStdString();

    // Exit stored the handed-over input and the window's last position.
    ConfigFile config(false);
    config.Load(work.filePath(u"config.ini"_s));
    QString value;
    EXPECT_TRUE(config.GetValue(u"InputFileName"_s, value));
    EXPECT_EQ(value, second);
    EXPECT_TRUE(config.GetValue(u"WindowPosition"_s, value));
    EXPECT_EQ(value, result[2].mid(6));
    // The next start shows the window there again.
    EXPECT_EQ(result[4], u"restored="_s + result[2].mid(6));
    EXPECT_EQ(result[5], u"third_status=0"_s);
}

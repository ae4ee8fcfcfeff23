// The stream view driven as a person drives it: mouse drags on the selection's edges and body,
// panning, Escape, the commands and keys, undo and redo, snapping, playback, and what it draws.
#include "view/gui/StreamViewCtrl.h"
#include "skin/GuiTestApp.h"
#include "skin/SkinParser.h"
#include "workflow/ButtonState.h"
#include "workflow/ModelTestSupport.h"
#include "workflow/RingtoneModel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

using namespace modeltest;

namespace {

class StreamViewTest : public ModelTest {
protected:
    void SetUp() override {
        ModelTest::SetUp();
        EnsureGuiApp();
        qputenv("QUILLET_VIRTUAL_OUT", file(QStringLiteral("out.wav")).toUtf8());
        m_view = std::make_unique<CStreamViewCtrl>(nullptr);
        CSkinParser parser;
        ASSERT_TRUE(
            parser.init(QStringLiteral(QUILLET_TEST_DATA_DIR "/../../skins/en/__default.sdf"),
                        QStringLiteral("PP_SDF")));
        ASSERT_TRUE(m_view->loadSkin(parser));
        m_view->applySkin();
        m_model.attach(&m_owner, m_view.get());
        m_view->setChangeListener([this] { ++m_changes; });
    }
    void TearDown() override {
        m_view.reset();
        ModelTest::TearDown();
    }

    // Opens a 440 Hz mono tone that swells and fades every 7 s as the input (the selection
    // proposed: 10 s to 20 s).
    void open(double seconds) {
        const QString path = file(QStringLiteral("tone.wav"));
        QByteArray pcm = SinePcm(8000, int(seconds * 8000), 440, {1.0});
        auto* samples = reinterpret_cast<int16_t*>(pcm.data());
        for (int i = 0; i < pcm.size() / 2; ++i)
            samples[i] = int16_t(samples[i] * (0.1 + 0.8 * std::fabs(std::sin(i / 8000.0 / 2.2))));
        WAVEFORMATEX format{1, 1, 8000, 16000, 2, 16, 0};
        WriteWav(path, format, pcm);
        ASSERT_TRUE(m_model.openInputFile(path, CRingtoneModel::OpenMode::UserFile, 0));
    }
    int column(qint64 t) const { return m_view->progress().timeToPixel(t, true); }
    int midY() const { return (m_view->skin().yMarkRectTop + m_view->skin().yMarkRectBottom) / 2; }

    void mouse(QEvent::Type type, int x, int y, Qt::MouseButtons buttons) {
        const QPointF at(x, y);
        QMouseEvent event(type, at, m_view->mapToGlobal(at), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(m_view.get(), &event);
    }
    // A press at from, moves in steps to to, and (unless hold) the release there.
    void drag(int fromX, int toX, bool hold = false) {
        const int y = midY();
        mouse(QEvent::MouseMove, fromX, y, Qt::NoButton);
        mouse(QEvent::MouseButtonPress, fromX, y, Qt::LeftButton);
        for (int i = 1; i <= 4; ++i)
            mouse(QEvent::MouseMove, fromX + (toX - fromX) * i / 4, y, Qt::LeftButton);
        if (!hold)
            mouse(QEvent::MouseButtonRelease, toX, y, Qt::NoButton);
    }
    void key(int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, code, modifiers);
        QApplication::sendEvent(m_view.get(), &event);
    }
    // Puts the position at t through the position area.
    void positionAt(qint64 t) {
        const int x = column(t);
        mouse(QEvent::MouseButtonPress, x, m_view->skin().sliderRange.top + 2, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, x, m_view->skin().sliderRange.top + 2, Qt::NoButton);
    }
    ButtonState buttons() const {
        ButtonState state;
        m_model.getButtonState(state);
        return state;
    }
    const CCutInfo& cut() const { return m_model.getCut(); }
    QStringList errors() const { return m_owner.messages.errors; }

    CRingtoneModel m_model;
    TestOwner m_owner;
    std::unique_ptr<CStreamViewCtrl> m_view;
    int m_changes = 0;
};

// Waits, letting events run, until done() or the time-out.
bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

} // namespace

TEST_F(StreamViewTest, EdgesDragWithinTheirBoundsAndTheSelectionMovesOrPutsBack) {
    open(60.0);
    ASSERT_EQ(m_view->editState(), CStreamViewCtrl::EditState::Selection);
    ASSERT_EQ(cut().start(), 10000);
    const qint64 msPerColumn = 60000 / (m_view->progress().model().pixelRect().right -
                                        m_view->progress().model().pixelRect().left);
    // The pointer's shape tells what a press would do.
    const auto shapeAt = [&](int x, int y) {
        mouse(QEvent::MouseMove, x, y, Qt::NoButton);
        return m_view->cursor().shape();
    };
    EXPECT_EQ(shapeAt(column(10000) + 4, midY()), Qt::SizeHorCursor);
    EXPECT_EQ(shapeAt(column(20000) - 4, midY()), Qt::SizeHorCursor);
    EXPECT_EQ(shapeAt(column(15000), midY()), Qt::SizeAllCursor);
    EXPECT_EQ(shapeAt(column(30000), midY()), Qt::IBeamCursor);
    EXPECT_EQ(shapeAt(column(30000), 5), Qt::PointingHandCursor);
    EXPECT_EQ(shapeAt(column(30000), 240), Qt::ArrowCursor);

    // The start edge past the end stops 1 s before it (the silent length limit).
    drag(column(10000), column(50000));
    EXPECT_EQ(cut().start(), 19000);
    EXPECT_EQ(cut().end(), 20000);
    EXPECT_TRUE(errors().isEmpty());
    // The end edge out to the right stops 30 s after the start.
    drag(column(20000), column(59000));
    EXPECT_EQ(cut().end(), 49000);
    // The start edge to the left stops 30 s before the end.
    drag(column(19000), m_view->progress().model().pixelRect().left);
    EXPECT_EQ(cut().start(), 19000);
    drag(column(19000) - 1, column(25000));
    drag(column(25000), m_view->progress().model().pixelRect().left);
    EXPECT_EQ(cut().start(), 19000);
    EXPECT_EQ(cut().length(), 30000);
    EXPECT_TRUE(m_model.getRingtoneFileName().isEmpty());

    // Moving the body keeps the length; at the stream's end it stops there.
    drag(column(30000), column(35000));
    EXPECT_NEAR(double(cut().start()), 24000.0, 2.0 * double(msPerColumn));
    EXPECT_EQ(cut().length(), 30000);
    drag(column(35000), m_view->progress().model().pixelRect().right);
    EXPECT_EQ(cut().end(), 60000);
    EXPECT_EQ(cut().start(), 30000);
    // Escape while moving puts it back where the move began.
    drag(column(40000), column(20000), true);
    EXPECT_LT(cut().start(), 30000);
    key(Qt::Key_Escape);
    EXPECT_EQ(cut().start(), 30000);
    EXPECT_EQ(cut().end(), 60000);
    mouse(QEvent::MouseButtonRelease, column(20000), midY(), Qt::NoButton);
    EXPECT_EQ(cut().start(), 30000);
}

TEST_F(StreamViewTest, ZoomScrollAndPanMoveTheVisibleRangeAndTheTimer) {
    open(150.0);
    const CStreamProgressCtrl& p = m_view->progress();
    EXPECT_EQ(m_view->timerInterval(), 150); // 1 ms per second of span
    EXPECT_EQ(m_model.getViewTimerInterval(), 150);
    EXPECT_FALSE(buttons()[ButtonState::IsZoomed]);
    m_view->onCommand(CStreamViewCtrl::CmdZoomIn);
    EXPECT_TRUE(buttons()[ButtonState::IsZoomed]);
    EXPECT_EQ(p.visibleEnd() - p.visibleBegin(), 75000);
    EXPECT_EQ(m_view->timerInterval(), 75);
    m_view->onCommand(CStreamViewCtrl::CmdZoomIn);
    EXPECT_EQ(m_view->timerInterval(), 60); // never below 60 ms

    // Panning: 10 pixels do nothing; 40 to the left show later times.
    m_model.clearCut();
    m_view->refresh(false, false);
    const qint64 begin = p.visibleBegin();
    drag(300, 290);
    EXPECT_EQ(p.visibleBegin(), begin);
    drag(300, 260);
    EXPECT_GT(p.visibleBegin(), begin);
    for (int i = 0; i < 10; ++i) // the last ones find the begin and put the position there
        m_view->onCommand(CStreamViewCtrl::CmdScrollLeft);
    EXPECT_EQ(p.visibleBegin(), 0);
    EXPECT_EQ(p.getPosition(), 0);
    EXPECT_TRUE(buttons()[ButtonState::PosAtBegin]);
    const qint64 span = p.visibleEnd() - p.visibleBegin();
    QWheelEvent wheel(QPointF(300, 100), QPointF(300, 100), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(m_view.get(), &wheel);
    EXPECT_EQ(p.visibleBegin(), span / 4);
    EXPECT_GT(m_changes, 0);
}

TEST_F(StreamViewTest, CommandsEditTheSelectionAndTellTheButtons) {
    open(60.0);
    // Fades at the position inside the selection, and their removal.
    positionAt(12000);
    const qint64 pos = m_view->progress().getPosition();
    EXPECT_TRUE(buttons()[ButtonState::PosInCut]);
    EXPECT_FALSE(buttons()[ButtonState::CutHasFade]);
    m_view->onCommand(CStreamViewCtrl::CmdFadeIn);
    EXPECT_EQ(cut().getFadeInEnd(), pos);
    EXPECT_TRUE(buttons()[ButtonState::CutHasFade]);
    m_view->onCommand(CStreamViewCtrl::CmdRemoveFades);
    EXPECT_EQ(cut().fadeIn(), 0);
    // Set start inside the selection, with the 1 s limit and its message.
    positionAt(19800);
    EXPECT_TRUE(buttons()[ButtonState::CanSetStart]);
    m_view->onCommand(CStreamViewCtrl::CmdSetStart);
    EXPECT_EQ(cut().start(), 19000);
    ASSERT_EQ(errors().size(), 1);
    EXPECT_EQ(errors().back(), QStringLiteral("The ringtone cannot be smaller than one second."));
    EXPECT_FALSE(buttons()[ButtonState::CanSetStart]); // it would change nothing now

    // Without a selection: start, then an end too close, then one too far.
    m_model.clearCut();
    m_view->refresh(false, false);
    EXPECT_EQ(m_view->editState(), CStreamViewCtrl::EditState::None);
    positionAt(59500);
    EXPECT_FALSE(buttons()[ButtonState::CanSetStart]); // less than 1 s before the end
    m_view->onCommand(CStreamViewCtrl::CmdSetStart);
    EXPECT_EQ(m_view->editState(), CStreamViewCtrl::EditState::None);
    positionAt(5000);
    m_view->onCommand(CStreamViewCtrl::CmdSetStart);
    EXPECT_EQ(m_view->editState(), CStreamViewCtrl::EditState::Pending);
    EXPECT_FALSE(buttons()[ButtonState::CanSetEnd]);
    positionAt(5500);
    m_view->onCommand(CStreamViewCtrl::CmdSetEnd);
    EXPECT_FALSE(cut().isValid());
    EXPECT_EQ(errors().back(), QStringLiteral("The ringtone cannot be smaller than one second."));
    m_view->onCommand(CStreamViewCtrl::CmdSetStart); // a new pending start where the end failed
    const qint64 start = m_view->progress().getPosition();
    positionAt(45000);
    EXPECT_TRUE(buttons()[ButtonState::CanSetEnd]);
    m_view->onCommand(CStreamViewCtrl::CmdSetEnd);
    EXPECT_EQ(errors().back(), QStringLiteral("The ringtone cannot be larger than 30 seconds."));
    EXPECT_EQ(cut().start(), start);
    EXPECT_EQ(cut().length(), 30000);
    EXPECT_EQ(m_view->editState(), CStreamViewCtrl::EditState::Selection);
}

TEST_F(StreamViewTest, KeysEditUndoRedoAndSnapToRisingZeroCrossings) {
    open(60.0);
    m_view->setFocus();
    const CCutInfo proposed = cut();
    drag(column(20000), column(25000)); // one step
    const CCutInfo dragged = cut();
    ASSERT_NE(dragged, proposed);
    key(Qt::Key_Home);
    EXPECT_EQ(m_view->progress().getPosition(), 0);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Right);
    const qint64 step = m_view->progress().getPosition() - 2000;
    EXPECT_GT(step, 0);
    EXPECT_LE(step, 60000 / (m_view->progress().model().pixelRect().right -
                             m_view->progress().model().pixelRect().left) +
                        1);
    key(Qt::Key_BracketLeft); // outside the selection and before it: a new start there
    EXPECT_EQ(cut().start(), 2000 + step);
    EXPECT_EQ(cut().end(), dragged.end());

    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(cut(), dragged);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(cut(), proposed);
    key(Qt::Key_Z, Qt::ControlModifier); // nothing older
    EXPECT_EQ(cut(), proposed);
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(cut(), dragged);
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(cut().start(), 2000 + step);

    // With snapping on, an edge set by key lands on a rising zero crossing within 10 ms.
    GetConfig().SetSnapToZeroCrossing(true);
    const DecodedWav wav = ReadDecodedWav(m_model.getWavFileName());
    for (qint64 target : {4003, 4517, 7001}) {
        key(Qt::Key_Home);
        while (m_view->progress().getPosition() < target)
            key(Qt::Key_Right);
        const qint64 pos = m_view->progress().getPosition();
        key(Qt::Key_BracketLeft);
        const qint64 start = cut().start();
        EXPECT_LE(std::abs(start - pos), 10) << target;
        // A sample at or above zero after one below it, within the millisecond the start names.
        bool rising = false;
        for (uint32_t frame = uint32_t(start * 8) - 8; frame < uint32_t(start * 8) + 8; ++frame)
            rising = rising || (wav.sample(frame, 0) < 0 && wav.sample(frame + 1, 0) >= 0);
        EXPECT_TRUE(rising) << target;
    }
}

TEST_F(StreamViewTest, KeySSelectsTheChorusAsOneUndoStepOrSaysNothingSuits) {
    const QString song = file(QStringLiteral("song.wav"));
    const std::vector<double> choruses = WriteChorusSong(song);
    ASSERT_TRUE(m_model.openInputFile(song, CRingtoneModel::OpenMode::UserFile, 0));
    const CCutInfo proposed = cut();
    key(Qt::Key_S);
    const double start = cut().start() / 1000.0;
    EXPECT_TRUE(
        std::ranges::any_of(choruses, [&](double c) { return std::abs(start - c) <= 0.5; }));
    EXPECT_EQ(cut().length() + cut().fadeIn(), CRingtoneModel::kSuggestedLength + 200);
    EXPECT_EQ(m_view->progress().getPosition(), cut().start());
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(cut(), proposed);

    open(0.8); // shorter than any ringtone
    key(Qt::Key_S);
    EXPECT_EQ(errors(), QStringList{"No stretch of the input suits a ringtone."});
}

namespace {

// The colour of the skin bitmap at (x modulo its width, y).
QRgb SkinPixel(const CDynBitmap& bitmap, int x, int y) {
    return bitmap.image().pixel(x % bitmap.width(), y) & 0xFFFFFF;
}
QRgb Pixel(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

} // namespace

TEST_F(StreamViewTest, DrawsTheSelectionItsRampsAndTheCursorWhereTheyBelong) {
    open(60.0);
    const StreamViewSkin& skin = m_view->skin();
    const int top = 24; // above the waveform band, inside the selection box
    const int low = skin.yMarkRectBottom - 4;
    // No fades: one cut_left column at the start, one cut_right column before the end.
    QImage image = m_view->grab().toImage();
    const int xs = column(10000);
    const int xe = column(20000);
    ASSERT_NE(SkinPixel(skin.cutRight, 0, top), SkinPixel(skin.cutMiddle, xe - 1, top));
    EXPECT_EQ(Pixel(image, xs, top), SkinPixel(skin.cutLeft, 0, top));
    EXPECT_EQ(Pixel(image, xs + 1, top), SkinPixel(skin.cutMiddle, xs + 1, top));
    EXPECT_EQ(Pixel(image, xe - 1, top), SkinPixel(skin.cutRight, 0, top));
    EXPECT_EQ(Pixel(image, (xs + xe) / 2, top), SkinPixel(skin.cutMiddle, (xs + xe) / 2, top));
    EXPECT_EQ(Pixel(image, xe + 3, top), SkinPixel(skin.stream, xe + 3, top));
    EXPECT_EQ(Pixel(image, 3, top), SkinPixel(skin.margin, 3, top));

    // A 4 s fade-in: in its middle the ramp's middle tile lies below the line, not above it.
    positionAt(14000);
    m_view->onCommand(CStreamViewCtrl::CmdFadeIn);
    positionAt(30000); // the cursor away from the ramp
    image = m_view->grab().toImage();
    const int xm = column(12000);
    EXPECT_EQ(Pixel(image, xm, top), SkinPixel(skin.stream, xm, top));
    EXPECT_EQ(Pixel(image, xm, low), SkinPixel(skin.cutMiddle, xm, low));

    // The cursor is drawn centred on the position's column.
    const int xp = m_view->progress().getPositionX();
    const QImage& curpos = skin.curpos.image();
    const int cx = curpos.width() / 2;
    ASSERT_NE(curpos.pixel(cx, top) & 0xFFFFFF, ToQColor(skin.colorTransparent).rgb() & 0xFFFFFF);
    EXPECT_EQ(Pixel(image, xp, top), curpos.pixel(cx, top) & 0xFFFFFF);
    EXPECT_EQ(Pixel(image, xp - cx - 1, top), SkinPixel(skin.stream, xp - cx - 1, top));
    // The description read out: the selection and its fade.
    EXPECT_TRUE(m_view->accessibleDescription().contains(
        QStringLiteral("Ringtone from 00:00:10.000 to 00:00:20.000, fade-in %1 ms")
            .arg(cut().fadeIn())));
}

TEST_F(StreamViewTest, PlaysFollowsTheTimeAndLoopsTheRingtoneUntilStop) {
    open(30.0);
    positionAt(3000);
    const qint64 from = m_view->progress().getPosition();
    m_view->onCommand(CStreamViewCtrl::CmdPlay);
    ASSERT_TRUE(buttons()[ButtonState::Playing]);
    EXPECT_TRUE(WaitFor([&] { return m_view->progress().getPosition() >= from + 300; }, 3000));
    // A press in the time area stops playing and pans; the release plays on.
    drag(300, 200);
    EXPECT_TRUE(m_view->IsPlaying());
    m_view->onCommand(CStreamViewCtrl::CmdStop);
    EXPECT_FALSE(buttons()[ButtonState::Playing]);

    // A ringtone of 1 s plays again by itself until Stop.
    m_model.setCut(2000, 3000);
    m_view->refresh(false, false);
    int starts = 0;
    bool wasPlaying = false;
    m_view->setChangeListener([&] {
        const bool playing = m_view->IsPlaying();
        starts += playing && !wasPlaying ? 1 : 0;
        wasPlaying = playing;
    });
    m_view->onCommand(CStreamViewCtrl::CmdPlayRingtone);
    EXPECT_TRUE(WaitFor([&] { return starts >= 3; }, 6000));
    m_view->onCommand(CStreamViewCtrl::CmdStop);
    const int stopped = starts;
    WaitFor([] { return false; }, 1300);
    EXPECT_EQ(starts, stopped);
    EXPECT_FALSE(m_view->IsPlaying());

    // L plays the seam of the 1 s ringtone (2 s) from a file of its own, removed at the end.
    m_view->setChangeListener(nullptr);
    const QString seam = CRingtoneModel::workBaseName() + QStringLiteral(".seam.wav");
    key(Qt::Key_L);
    EXPECT_TRUE(m_view->IsPlaying());
    EXPECT_TRUE(QFile::exists(seam));
    EXPECT_TRUE(WaitFor([&] { return !m_view->IsPlaying() && !QFile::exists(seam); }, 5000));
    EXPECT_TRUE(errors().isEmpty());
}

// Writes the view in its states into one picture in the build folder for a person to look at.
TEST_F(StreamViewTest, ContactSheetOfTheViewsStates) {
    std::vector<std::pair<QString, QImage>> states;
    m_view->refresh(true, false);
    states.emplace_back(QStringLiteral("empty"), m_view->grab().toImage());
    open(150.0);
    states.emplace_back(QStringLiteral("input"), m_view->grab().toImage());
    positionAt(15000);
    m_view->onCommand(CStreamViewCtrl::CmdZoomIn);
    m_view->onCommand(CStreamViewCtrl::CmdZoomIn);
    states.emplace_back(QStringLiteral("zoomed"), m_view->grab().toImage());
    positionAt(12500);
    m_view->onCommand(CStreamViewCtrl::CmdFadeIn);
    positionAt(18000);
    m_view->onCommand(CStreamViewCtrl::CmdFadeOut);
    states.emplace_back(QStringLiteral("selection with fades"), m_view->grab().toImage());
    m_view->onCommand(CStreamViewCtrl::CmdPlayRingtone);
    WaitFor([&] { return m_view->progress().getPosition() > 11500; }, 3000);
    states.emplace_back(QStringLiteral("playing"), m_view->grab().toImage());
    m_view->onCommand(CStreamViewCtrl::CmdStop);

    const int labelHeight = 18;
    // At the screen's pixel ratio (QT_SCALE_FACTOR=2 shows the view as a high-density screen).
    const qreal ratio = states[0].second.devicePixelRatio();
    QImage sheet(QSize(m_view->width(), int(states.size()) * (m_view->height() + labelHeight)) *
                     ratio,
                 QImage::Format_RGB32);
    sheet.setDevicePixelRatio(ratio);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    int y = 0;
    for (const auto& [label, image] : states) {
        painter.drawText(4, y + 14, label);
        painter.drawImage(0, y + labelHeight, image);
        y += m_view->height() + labelHeight;
    }
    painter.end();
    const QString path =
        QDir(QApplication::applicationDirPath()).filePath("stream-view-states.png");
    ASSERT_TRUE(sheet.save(path));
    // The states differ where they should: the empty view from the input, zoomed from whole.
    EXPECT_NE(states[0].second, states[1].second);
    EXPECT_NE(states[1].second, states[2].second);
    EXPECT_NE(states[3].second, states[4].second);
}

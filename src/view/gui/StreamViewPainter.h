// Draws the stream view into its off-screen picture: background, audio span, selection with its
// fade ramps, waveform, time axis, texts and marks, and the play-position cursor.
#pragma once

#include "view/gui/StreamViewSkin.h"

#include <QFontMetrics>
#include <QLine>
#include <QPixmap>
#include <QRect>
#include <QRegion>
#include <memory>
#include <vector>

class CRingtoneModel;
class CStreamProgressCtrl;
class CTimeAxis;
class QPainter;

class CStreamViewPainter {
public:
    CStreamViewPainter();
    ~CStreamViewPainter();

    // Takes the skin's pictures (as pixmaps drawn smoothly at any pixel ratio) and makes or sets
    // up the time axis with its font, colour and tick lengths.
    void applySkin(const StreamViewSkin& skin);
    const StreamViewSkin& skin() const { return *m_skin; }

    // Paints the view of the given size but for what moves during playback (the overlay). A null
    // model, or one without input, paints the empty view.
    void paint(QPainter& painter, QSize size, CStreamProgressCtrl& progress, CRingtoneModel* model);
    // Paints the overlay over the view: the position text and the play-position cursor. The
    // region it covered.
    QRegion paintOverlay(QPainter& painter, int height, const CStreamProgressCtrl& progress) const;
    // The region the overlay covers for the progress control's current position.
    QRegion overlayRegion(int height, const CStreamProgressCtrl& progress) const;

private:
    // The layers: the audio's span, the selection with its ramps (edge columns or fade ramps),
    // the waveform (a line, or a min/max line per column), the axis, and the texts and marks.
    void paintStream(QPainter& painter, int height, const CStreamProgressCtrl& progress) const;
    void paintSelection(QPainter& painter, int height, const CStreamProgressCtrl& progress) const;
    // Columns of the middle tile from y down to the bottom, at x (the fade ramps).
    void paintRamp(QPainter& painter, int x, int y, int height) const;
    void paintWaveform(QPainter& painter, CStreamProgressCtrl& progress, CRingtoneModel& model);
    void paintAxis(QPainter& painter, const CStreamProgressCtrl& progress) const;
    // The position text ("Current Position: hh:mm:ss.mmm"), and the rectangle it covers.
    QString positionText(const CStreamProgressCtrl& progress) const;
    QRect positionTextRect(const QString& text, const CStreamProgressCtrl& progress) const;
    // The cursor's strip at column positionX united with the position text's rectangle.
    QRegion overlayRegion(int height, int positionX, const QRect& textRect) const;
    void paintTexts(QPainter& painter, const CStreamProgressCtrl& progress,
                    const CRingtoneModel* model) const;

    const StreamViewSkin* m_skin = nullptr;
    StreamViewSkin m_noSkin;
    // The skin's pictures as pixmaps; the cursor with its transparent colour as alpha.
    QPixmap m_center, m_centerEmpty, m_emptyDesc, m_stream, m_cutLeft, m_cutRight, m_cutMiddle,
        m_curpos, m_margin;
    std::unique_ptr<CTimeAxis> m_axis;
    // The position text's label in the current language, and the metrics of the skin's font;
    // taken at every full paint so that moving the cursor does not look them up.
    QString m_positionLabel;
    QFontMetrics m_metrics{QFont()};
    // The last position text measured and its width.
    mutable QString m_measuredText;
    mutable int m_measuredWidth = 0;
    // The waveform's lines, kept so that a paint reuses the room the last one took.
    std::vector<QLine> m_lines;
};

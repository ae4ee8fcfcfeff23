// Where everything of the skins sits, and the texts they carry in each language.
#pragma once

#include "Icons.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <utility>

// Window and main-control geometry.
inline constexpr int WindowW = 800;
inline constexpr int WindowH = 460;
inline constexpr int TitleH = 44;
inline constexpr int CornerRadius = 10;
inline const QPoint CtrlAt(12, 48);
inline constexpr int CtrlW = 776;
inline constexpr int CtrlH = 400;
inline const QRect ViewRect(8, 56, 760, 250); // in the main control
inline const QRect BrowserRect(12, 48, 776, 400);

// Rows of the stream view, from its top.
inline constexpr int SliderBottom = 19;
inline constexpr int MarkTop = 20;
inline constexpr int MarkBottom = 178;
inline constexpr int WaveTop = 30;
inline constexpr int WaveBottom = 170;
inline constexpr int AxisLine = 181;
inline constexpr int MarginW = 10;

enum class Style { Tool, Secondary, Primary, Chrome, ChromeExit, Field, Plain };
enum class State { Up, Down, Over, Disabled };

// The texts drawn into the pictures or written as captions, per language.
struct Texts {
    QString lang, subtitle, open, cd, record, beam, beamHint, emptyTitle, emptyHint;
};

inline const Texts English{"en",
                           "Ringtone maker",
                           "Open",
                           "CD track",
                           "Record",
                           "Send ringtone",
                           "Pick 1 to 30 seconds, then send the ringtone to your phone.",
                           "No audio yet",
                           "Open a file, take a track from a CD or record something."};
inline const Texts German{
    "de",
    QString::fromUtf8("Klingelton-Werkstatt"),
    QString::fromUtf8("Öffnen"),
    "CD-Titel",
    "Aufnehmen",
    "Klingelton senden",
    QString::fromUtf8("Wählen Sie 1 bis 30 Sekunden und senden Sie den Klingelton an Ihr Handy."),
    "Noch kein Audio",
    QString::fromUtf8("Öffnen Sie eine Datei, lesen Sie einen CD-Titel ein oder nehmen Sie etwas auf.")};

enum class Caption { None, Open, Cd, Record, Beam, BeamHint };

struct Control {
    const char* section;
    Style style;
    Icon icon;
    QRect rect; // in the parent
    Caption caption = Caption::None;
    bool anchorRight = false; // placed from the parent's right edge
};

// The dialog's buttons, in the window; the same sections serve the browser dialog.
inline const Control DialogButtons[] = {
    {"btn_help", Style::Chrome, Icon::Help, QRect(628, 8, 28, 28), Caption::None, true},
    {"btn_skylark", Style::Chrome, Icon::Website, QRect(660, 8, 28, 28), Caption::None, true},
    {"btn_about", Style::Chrome, Icon::About, QRect(692, 8, 28, 28), Caption::None, true},
    {"btn_minimize", Style::Chrome, Icon::Minimize, QRect(728, 8, 28, 28), Caption::None, true},
    {"btn_exit", Style::ChromeExit, Icon::Exit, QRect(760, 8, 28, 28), Caption::None, true},
};

inline constexpr int RowY = 318;
inline constexpr int ToolW = 40;
inline constexpr int ToolH = 36;
inline QRect Tool(int x) {
    return QRect(x, RowY, ToolW, ToolH);
}

// The main control's buttons and labels.
inline const Control CtrlControls[] = {
    {"btn_open", Style::Secondary, Icon::Open, QRect(12, 8, 112, 36), Caption::Open},
    {"lbl_input_file", Style::Field, Icon::Note, QRect(394, 8, 370, 36)},
    {"btn_cd_track", Style::Secondary, Icon::Cd, QRect(130, 8, 112, 36), Caption::Cd},
    {"btn_record", Style::Secondary, Icon::Record, QRect(248, 8, 136, 36), Caption::Record},
    {"btn_zoom_in", Style::Tool, Icon::ZoomIn, Tool(100)},
    {"btn_zoom_out", Style::Tool, Icon::ZoomOut, Tool(56)},
    {"btn_play", Style::Tool, Icon::Play, Tool(200)},
    {"btn_play_cut", Style::Tool, Icon::PlayRingtone, Tool(244)},
    {"btn_stop", Style::Tool, Icon::Stop, Tool(288)},
    {"btn_cut_begin", Style::Tool, Icon::SetStart, Tool(344)},
    {"btn_cut_end", Style::Tool, Icon::SetEnd, Tool(388)},
    {"btn_fading_begin", Style::Tool, Icon::FadeIn, Tool(444)},
    {"btn_fading_end", Style::Tool, Icon::FadeOut, Tool(488)},
    {"btn_fading_remove", Style::Tool, Icon::RemoveFades, Tool(532)},
    {"btn_scroll_left", Style::Tool, Icon::ScrollLeft, Tool(12)},
    {"btn_scroll_right", Style::Tool, Icon::ScrollRight, Tool(144)},
    {"lbl_beam", Style::Plain, Icon::Note, QRect(12, 362, 756, 28), Caption::BeamHint},
    {"btn_beam", Style::Primary, Icon::Beam, QRect(584, RowY, 184, ToolH), Caption::Beam},
};

// Groups of tool buttons drawn on one card: first x and count.
inline const std::pair<int, int> ToolGroups[] = {{12, 4}, {200, 3}, {344, 2}, {444, 3}};

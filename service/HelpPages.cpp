// The help page and the start page of the service.
#include "HelpPages.h"

#include "HttpRequest.h"
#include "Pages.h"
#include "ServicePaths.h"

namespace {

constexpr const char* kHelpEnglish = R"(<h1>Quillet help</h1>
<div class="card"><h2>Open a sound</h2>
<p>Press the open button and choose an MP3, OGG Vorbis, WAV or Windows Media file, or drop the
file on the window. The CD button extracts a track of an audio CD, and the record button records
from the sound input. Quillet decodes the sound once and draws its waveform.</p></div>
<div class="card"><h2>Select the ringtone</h2>
<p>Drag over the waveform to select the part that becomes the ringtone, or drag the selection's
edges. The start and end buttons put an edge at the play position. A ringtone lasts at least one
second and at most the length the window shows.</p></div>
<div class="card"><h2>Fade in and out</h2>
<p>The fade buttons add a fade-in at the start or a fade-out at the end of the selection; the
remove button takes both away.</p></div>
<div class="card"><h2>Play</h2>
<p>The play button plays the selection with its fades; the stop button ends it. The position
follows in the waveform.</p></div>
<div class="card"><h2>Beam it to a phone</h2>
<p>The beam button encodes the selection as OGG Vorbis and uploads it to this service. A page
then opens inside Quillet: type the phone number and press Send, or download the ringtone to
your computer with the link on the page. The cancel button of that page ends the beam without
sending.</p></div>
<div class="card"><h2>Keys of the waveform</h2>
<table>
<tr><td>Ctrl+Z</td><td>undo the last change of the selection</td></tr>
<tr><td>Ctrl+Shift+Z, Ctrl+Y</td><td>redo what was undone last</td></tr>
<tr><td>[ and ]</td><td>set the start or the end at the play position</td></tr>
<tr><td>Left, Right</td><td>move the position by one pixel column</td></tr>
<tr><td>Shift+Left, Shift+Right</td><td>move the position by one second</td></tr>
<tr><td>Home, End</td><td>go to the begin or the end of the visible part</td></tr>
<tr><td>L</td><td>hear the loop seam: the ringtone's end running into its start</td></tr>
<tr><td>Esc</td><td>cancel moving the selection</td></tr>
<tr><td>F1</td><td>this help</td></tr>
</table></div>
<div class="card"><h2>Where Quillet keeps its files</h2>
<p>Settings (<code>config.ini</code>) and the working files of the current sound live in
<code>~/.local/share/Brindle/Quillet/</code> (<code>$XDG_DATA_HOME/Brindle/Quillet/</code>). The
trace log, when switched on, is written there too. The About dialog shows both folders. Skins
and translations lie beside the program, in <code>Skins/</code>.</p></div>
)";

constexpr const char* kHelpGerman = R"(<h1>Quillet-Hilfe</h1>
<div class="card"><h2>Einen Klang öffnen</h2>
<p>Drücken Sie die Öffnen-Taste und wählen Sie eine MP3-, OGG-Vorbis-, WAV- oder
Windows-Media-Datei, oder ziehen Sie die Datei auf das Fenster. Die CD-Taste liest einen Titel
einer Audio-CD aus, die Aufnahme-Taste nimmt vom Toneingang auf. Quillet dekodiert den Klang
einmal und zeichnet seine Wellenform.</p></div>
<div class="card"><h2>Den Klingelton auswählen</h2>
<p>Ziehen Sie über die Wellenform, um den Teil zu wählen, der zum Klingelton wird, oder ziehen
Sie die Ränder der Auswahl. Die Anfangs- und die Ende-Taste setzen einen Rand an die
Abspielposition. Ein Klingelton dauert mindestens eine Sekunde und höchstens so lange, wie das
Fenster anzeigt.</p></div>
<div class="card"><h2>Ein- und ausblenden</h2>
<p>Die Blend-Tasten fügen am Anfang der Auswahl eine Einblendung oder an ihrem Ende eine
Ausblendung hinzu; die Entfernen-Taste nimmt beide weg.</p></div>
<div class="card"><h2>Abspielen</h2>
<p>Die Abspiel-Taste spielt die Auswahl mit ihren Blenden; die Stopp-Taste beendet sie. Die
Position läuft in der Wellenform mit.</p></div>
<div class="card"><h2>Auf ein Telefon senden</h2>
<p>Die Senden-Taste kodiert die Auswahl als OGG Vorbis und lädt sie zu diesem Dienst hoch.
Danach öffnet sich eine Seite in Quillet: Geben Sie die Telefonnummer ein und drücken Sie
Senden, oder laden Sie den Klingelton über den Verweis auf der Seite auf Ihren Rechner. Die
Abbrechen-Taste dieser Seite beendet das Senden, ohne etwas zu schicken.</p></div>
<div class="card"><h2>Tasten der Wellenform</h2>
<table>
<tr><td>Strg+Z</td><td>letzte Änderung der Auswahl rückgängig machen</td></tr>
<tr><td>Strg+Umschalt+Z, Strg+Y</td><td>zuletzt Rückgängiggemachtes wiederherstellen</td></tr>
<tr><td>[ und ]</td><td>Anfang oder Ende an die Abspielposition setzen</td></tr>
<tr><td>Links, Rechts</td><td>Position um eine Pixelspalte verschieben</td></tr>
<tr><td>Umschalt+Links, Umschalt+Rechts</td><td>Position um eine Sekunde verschieben</td></tr>
<tr><td>Pos1, Ende</td><td>zum Anfang oder Ende des sichtbaren Teils gehen</td></tr>
<tr><td>L</td><td>die Schleifennaht anhören: das Ende des Klingeltons geht in seinen Anfang
über</td></tr>
<tr><td>Esc</td><td>das Verschieben der Auswahl abbrechen</td></tr>
<tr><td>F1</td><td>diese Hilfe</td></tr>
</table></div>
<div class="card"><h2>Wo Quillet seine Dateien ablegt</h2>
<p>Die Einstellungen (<code>config.ini</code>) und die Arbeitsdateien des aktuellen Klangs
liegen in <code>~/.local/share/Brindle/Quillet/</code>
(<code>$XDG_DATA_HOME/Brindle/Quillet/</code>). Das Protokoll wird, wenn es eingeschaltet ist,
ebenfalls dort geschrieben. Der Info-Dialog zeigt beide Ordner. Oberflächen und Übersetzungen
liegen neben dem Programm, in <code>Skins/</code>.</p></div>
)";

bool IsGerman(const std::string& tag) {
    return tag.size() >= 2 && (tag[0] == 'd' || tag[0] == 'D') &&
           (tag[1] == 'e' || tag[1] == 'E') &&
           (tag.size() == 2 || tag[2] == '-' || tag[2] == '_' || tag[2] == ';' || tag[2] == ',');
}

bool IsEnglish(const std::string& tag) {
    return tag.size() >= 2 && (tag[0] == 'e' || tag[0] == 'E') && (tag[1] == 'n' || tag[1] == 'N');
}

} // namespace

CHelpPages::Language CHelpPages::languageOf(const CHttpRequest& request) {
    const std::string asked = request.param("language");
    if (!asked.empty())
        return IsGerman(asked) ? Language::German : Language::English;
    // "de-DE,de;q=0.9,en;q=0.8": the first tag the service has wins.
    const std::string header = request.header("Accept-Language");
    size_t start = 0;
    while (start < header.size()) {
        size_t end = header.find(',', start);
        if (end == std::string::npos)
            end = header.size();
        std::string tag = header.substr(start, end - start);
        tag.erase(0, tag.find_first_not_of(' '));
        if (IsGerman(tag))
            return Language::German;
        if (IsEnglish(tag))
            return Language::English;
        start = end + 1;
    }
    return Language::English;
}

std::string CHelpPages::help(Language language) {
    const bool german = language == Language::German;
    return CPages::page(german ? "Quillet-Hilfe" : "Quillet help",
                        german ? kHelpGerman : kHelpEnglish, true, german ? "de" : "en");
}

std::string CHelpPages::home(Language language, size_t ringtones, size_t deliveries) {
    const std::string received = std::to_string(ringtones);
    const std::string sent = std::to_string(deliveries);
    if (language == Language::English)
        return CPages::home(
            {"Quillet beaming service",
             "This service receives the ringtones Quillet beams, and shows the page "
             "on which you send one to a phone.",
             received + " ringtone(s) received, " + sent + " sent to phones.", "Open the inbox",
             " to hear what each phone number received.", "en"});
    return CPages::home(
        {"Quillet-Sendedienst",
         "Dieser Dienst empfängt die Klingeltöne, die Quillet sendet, und zeigt die "
         "Seite, auf der Sie einen an ein Telefon schicken.",
         received + " Klingelton/-töne empfangen, " + sent + " an Telefone gesendet.",
         "Öffnen Sie den Posteingang",
         std::string(", um zu hören, was jede Telefonnummer bekommen hat. Wie "
                     "Quillet bedient wird, steht in der <a href=\"") +
             CServicePaths::kHelp + "?language=de\">Hilfe</a>.",
         "de"});
}

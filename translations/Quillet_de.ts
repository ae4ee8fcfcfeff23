<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>Quillet</name>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Info</translation>
    </message>
    <message>
        <source>couldn&apos;t open skin</source>
        <translation>Skin konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>failed to parse skin</source>
        <translation>Skin konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>failed to apply skin</source>
        <translation>Skin konnte nicht angewendet werden</translation>
    </message>
    <message>
        <source>Current Position: </source>
        <translation>Aktuelle Position: </translation>
    </message>
    <message>
        <source>Weeks are not implemented so far !</source>
        <translation>Wochen werden bisher nicht unterstützt!</translation>
    </message>
    <message>
        <source>Beaming ringtone</source>
        <translation>Klingelton wird gesendet</translation>
    </message>
    <message>
        <source>Uploading</source>
        <translation>Wird hochgeladen</translation>
    </message>
    <message>
        <source>Extracting ringtone</source>
        <translation>Klingelton wird erstellt</translation>
    </message>
    <message>
        <source>Track extraction failed.</source>
        <translation>Der CD-Titel konnte nicht eingelesen werden.</translation>
    </message>
    <message>
        <source>creating visualization file</source>
        <translation>Visualisierungsdatei wird erstellt</translation>
    </message>
    <message>
        <source>Open file</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>decoding file</source>
        <translation>Datei wird dekodiert</translation>
    </message>
    <message>
        <source>Payment</source>
        <translation>Bezahlung</translation>
    </message>
    <message>
        <source>beaming ringtone</source>
        <translation>Klingelton wird gesendet</translation>
    </message>
    <message>
        <source>connecting...</source>
        <translation>Verbindung wird hergestellt...</translation>
    </message>
    <message>
        <source>Error decoding file %s.</source>
        <translation>Fehler beim Dekodieren der Datei %s.</translation>
    </message>
    <message>
        <source>Cannot open file %s: unsupported extension.</source>
        <translation>Die Datei %s kann nicht geöffnet werden: Die Dateiendung wird nicht unterstützt.</translation>
    </message>
    <message>
        <source>Could not open file: %s.</source>
        <translation>Die Datei konnte nicht geöffnet werden: %s.</translation>
    </message>
    <message>
        <source>Ringtone extraction failed.</source>
        <translation>Der Klingelton konnte nicht erstellt werden.</translation>
    </message>
    <message>
        <source>Terminating ringtone beaming...</source>
        <translation>Senden des Klingeltons wird abgebrochen...</translation>
    </message>
    <message>
        <source>Error beaming ringtone: %s.</source>
        <translation>Fehler beim Senden des Klingeltons: %s.</translation>
    </message>
    <message>
        <source>communication interrupted</source>
        <translation>Verbindung unterbrochen</translation>
    </message>
    <message>
        <source>Could not load ringtone</source>
        <translation>Klingelton konnte nicht geladen werden</translation>
    </message>
    <message>
        <source>not enough memory for upload request</source>
        <translation>nicht genügend Arbeitsspeicher für die Upload-Anfrage</translation>
    </message>
    <message>
        <source>invalid server answer</source>
        <translation>ungültige Antwort des Servers</translation>
    </message>
    <message>
        <source>invalid upload url %s</source>
        <translation>ungültige Upload-URL %s</translation>
    </message>
    <message>
        <source>extracting track</source>
        <translation>Titel wird eingelesen</translation>
    </message>
    <message>
        <source>Extracting CD track</source>
        <translation>CD-Titel wird eingelesen</translation>
    </message>
    <message>
        <source>open file</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>input name</source>
        <translation>Name der Quelle</translation>
    </message>
    <message>
        <source>extract cd track</source>
        <translation>CD-Titel einlesen</translation>
    </message>
    <message>
        <source>record</source>
        <translation>Aufnehmen</translation>
    </message>
    <message>
        <source>zoom in</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>zoom out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>play ringtone</source>
        <translation>Klingelton abspielen</translation>
    </message>
    <message>
        <source>stop playing</source>
        <translation>Wiedergabe anhalten</translation>
    </message>
    <message>
        <source>set ringtone start</source>
        <translation>Anfang des Klingeltons setzen</translation>
    </message>
    <message>
        <source>set ringtone end</source>
        <translation>Ende des Klingeltons setzen</translation>
    </message>
    <message>
        <source>set begin fading</source>
        <translation>Einblenden festlegen</translation>
    </message>
    <message>
        <source>set end fading</source>
        <translation>Ausblenden festlegen</translation>
    </message>
    <message>
        <source>remove fading</source>
        <translation>Ein- und Ausblenden entfernen</translation>
    </message>
    <message>
        <source>beam ringtone</source>
        <translation>Klingelton senden</translation>
    </message>
    <message>
        <source>minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>about</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>cancel ringtone beaming</source>
        <translation>Senden des Klingeltons abbrechen</translation>
    </message>
    <message>
        <source>scroll left</source>
        <translation>Nach links scrollen</translation>
    </message>
    <message>
        <source>scroll right</source>
        <translation>Nach rechts scrollen</translation>
    </message>
    <message>
        <source>go to Quillet website</source>
        <translation>Zur Quillet-Website</translation>
    </message>
    <message>
        <source>Internet error: </source>
        <translation>Internetfehler: </translation>
    </message>
    <message>
        <source>help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Not found</source>
        <translation>Nicht gefunden</translation>
    </message>
    <message>
        <source>No mixers found</source>
        <translation>Keine Mixer gefunden</translation>
    </message>
    <message>
        <source>The ringtone cannot be smaller than one second.</source>
        <translation>Der Klingelton muss mindestens eine Sekunde lang sein.</translation>
    </message>
    <message>
        <source>The ringtone cannot be larger than %d seconds.</source>
        <translation>Der Klingelton darf höchstens %d Sekunden lang sein.</translation>
    </message>
    <message>
        <source>Audio CD track [%s]</source>
        <translation>Audio-CD-Titel [%s]</translation>
    </message>
    <message>
        <source>Recorded from [%s]</source>
        <translation>Aufgenommen von [%s]</translation>
    </message>
    <message>
        <source>Error starting recording.</source>
        <translation>Fehler beim Starten der Aufnahme.</translation>
    </message>
    <message>
        <source>upload finished</source>
        <translation>Hochladen abgeschlossen</translation>
    </message>
    <message>
        <source>Recording stopped: %s</source>
        <translation>Aufnahme abgebrochen: %s</translation>
    </message>
    <message>
        <source>track%02d</source>
        <translation>titel%02d</translation>
    </message>
    <message>
        <source>recording</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>converting wav file</source>
        <translation>WAV-Datei wird konvertiert</translation>
    </message>
    <message>
        <source>Unknown recording error.</source>
        <translation>Unbekannter Fehler bei der Aufnahme.</translation>
    </message>
    <message>
        <source>Unsupported wave file, only 8 or 16 bit PCM files are supported</source>
        <translation>Nicht unterstützte WAV-Datei, es werden nur PCM-Dateien mit 8 oder 16 Bit unterstützt</translation>
    </message>
    <message>
        <source>Error creating visualization file %s.</source>
        <translation>Fehler beim Erstellen der Visualisierungsdatei %s.</translation>
    </message>
    <message>
        <source>Error converting wav file.</source>
        <translation>Fehler beim Konvertieren der WAV-Datei.</translation>
    </message>
    <message>
        <source>Error starting playing.</source>
        <translation>Fehler beim Starten der Wiedergabe.</translation>
    </message>
    <message>
        <source>An internet connection is needed to perform this operation.</source>
        <translation>Für diesen Vorgang wird eine Internetverbindung benötigt.</translation>
    </message>
    <message>
        <source>Windows media format components are not installed or they are too old! Please install the Window Media Player 9 or newer.</source>
        <translation>Die Komponenten für das Windows-Media-Format sind nicht installiert oder zu alt! Bitte installieren Sie Windows Media Player 9 oder neuer.</translation>
    </message>
    <message>
        <source>ringtone length: %02d:%02d</source>
        <translation>Länge des Klingeltons: %02d:%02d</translation>
    </message>
    <message>
        <source>Error downloading ringtone.</source>
        <translation>Fehler beim Herunterladen des Klingeltons.</translation>
    </message>
    <message>
        <source>Error downloading ringtone: %s.</source>
        <translation>Fehler beim Herunterladen des Klingeltons: %s.</translation>
    </message>
    <message>
        <source>Downloading ringtone</source>
        <translation>Klingelton wird heruntergeladen</translation>
    </message>
    <message>
        <source>downloading ringtone</source>
        <translation>Klingelton wird heruntergeladen</translation>
    </message>
    <message>
        <source>Ringtone downloaded successfully.</source>
        <translation>Der Klingelton wurde erfolgreich heruntergeladen.</translation>
    </message>
    <message>
        <source>Invalid file!</source>
        <translation>Ungültige Datei!</translation>
    </message>
    <message>
        <source>transferring</source>
        <translation>Daten werden übertragen</translation>
    </message>
    <message>
        <source>supported files|*.wav;*.mp3;*.ogg;*.wma;*.wmv;*.asf|wav files (*.wav)|*.wav|mp3 files (*.mp3)|*.mp3|ogg files (*.ogg)|*.ogg|window media files (*.wma, *.wmv; *.asf)|*.wma;*.wmv;*.asf||</source>
        <translation>Unterstützte Dateien|*.wav;*.mp3;*.ogg;*.wma;*.wmv;*.asf|WAV-Dateien (*.wav)|*.wav|MP3-Dateien (*.mp3)|*.mp3|OGG-Dateien (*.ogg)|*.ogg|Windows-Media-Dateien (*.wma, *.wmv; *.asf)|*.wma;*.wmv;*.asf||</translation>
    </message>
    <message>
        <source>%s|*%s|All Files|*.*||</source>
        <translation>%s|*%s|Alle Dateien|*.*||</translation>
    </message>
    <message>
        <source>File not supported!</source>
        <translation>Datei wird nicht unterstützt!</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Track</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Extract</source>
        <translation>Einlesen</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>On some Win95/98/ME operating systems CD ripping can freeze or crash your system. Are you sure you want to continue?</source>
        <translation>Auf manchen Systemen mit Win95/98/ME kann das Einlesen von CDs das System einfrieren oder abstürzen lassen. Möchten Sie wirklich fortfahren?</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Sound card:</source>
        <translation>Soundkarte:</translation>
    </message>
    <message>
        <source>Source:</source>
        <translation>Quelle:</translation>
    </message>
    <message>
        <source>Start rec</source>
        <translation>Aufnahme starten</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>Month</source>
        <translation>Monat</translation>
    </message>
    <message>
        <source>Day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Hour</source>
        <translation>Stunde</translation>
    </message>
    <message>
        <source>Minute</source>
        <translation>Minute</translation>
    </message>
    <message>
        <source>Second</source>
        <translation>Sekunde</translation>
    </message>
    <message>
        <source>January</source>
        <translation>Januar</translation>
    </message>
    <message>
        <source>February</source>
        <translation>Februar</translation>
    </message>
    <message>
        <source>March</source>
        <translation>März</translation>
    </message>
    <message>
        <source>April</source>
        <translation>April</translation>
    </message>
    <message>
        <source>May</source>
        <translation>Mai</translation>
    </message>
    <message>
        <source>June</source>
        <translation>Juni</translation>
    </message>
    <message>
        <source>July</source>
        <translation>Juli</translation>
    </message>
    <message>
        <source>August</source>
        <translation>August</translation>
    </message>
    <message>
        <source>September</source>
        <translation>September</translation>
    </message>
    <message>
        <source>October</source>
        <translation>Oktober</translation>
    </message>
    <message>
        <source>November</source>
        <translation>November</translation>
    </message>
    <message>
        <source>December</source>
        <translation>Dezember</translation>
    </message>
    <message>
        <source>h</source>
        <translation>h</translation>
    </message>
    <message>
        <source>Years</source>
        <translation>Jahre</translation>
    </message>
    <message>
        <source>Months</source>
        <translation>Monate</translation>
    </message>
    <message>
        <source>Days</source>
        <translation>Tage</translation>
    </message>
    <message>
        <source>Hours</source>
        <translation>Stunden</translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>Week</source>
        <translation>Woche</translation>
    </message>
    <message>
        <source>Weeks</source>
        <translation>Wochen</translation>
    </message>
    <message>
        <source> %s in %s </source>
        <translation> %s in %s </translation>
    </message>
    <message>
        <source>Unknown command: %s</source>
        <translation>Unbekannter Befehl: %s</translation>
    </message>
    <message>
        <source>The option %s needs a value.</source>
        <translation>Die Option %s braucht einen Wert.</translation>
    </message>
    <message>
        <source>There is no setting named %s.</source>
        <translation>Es gibt keine Einstellung namens %s.</translation>
    </message>
    <message>
        <source>Too many arguments for %s.</source>
        <translation>Zu viele Argumente für %s.</translation>
    </message>
    <message>
        <source>Input: %s</source>
        <translation>Quelle: %s</translation>
    </message>
    <message>
        <source>Title: %s</source>
        <translation>Titel: %s</translation>
    </message>
    <message>
        <source>Format: %d Hz, %d channels, %d bit</source>
        <translation>Format: %d Hz, %d Kanäle, %d Bit</translation>
    </message>
    <message>
        <source>Duration: %s</source>
        <translation>Dauer: %s</translation>
    </message>
    <message>
        <source>Selection: %s to %s (%s), fade-in %d ms, fade-out %d ms</source>
        <translation>Auswahl: %s bis %s (%s), Einblenden %d ms, Ausblenden %d ms</translation>
    </message>
    <message>
        <source>Selection: none</source>
        <translation>Auswahl: keine</translation>
    </message>
    <message>
        <source>No input is open.</source>
        <translation>Es ist keine Quelle geöffnet.</translation>
    </message>
    <message>
        <source>Ringtone written to %s.</source>
        <translation>Der Klingelton wurde in %s gespeichert.</translation>
    </message>
    <message>
        <source>Not a time: %s. Give milliseconds or [hh:]mm:ss[.mmm].</source>
        <translation>Keine Zeitangabe: %s. Geben Sie Millisekunden oder [hh:]mm:ss[.mmm] an.</translation>
    </message>
    <message>
        <source>Unknown option for %s: %s</source>
        <translation>Unbekannte Option für %s: %s</translation>
    </message>
    <message>
        <source>Missing argument for %s.</source>
        <translation>Fehlendes Argument für %s.</translation>
    </message>
    <message>
        <source>Could not write %s: %s</source>
        <translation>%s konnte nicht geschrieben werden: %s</translation>
    </message>
    <message>
        <source>The selection must lie within the input (%s long).</source>
        <translation>Die Auswahl muss innerhalb der Quelle liegen (Länge %s).</translation>
    </message>
    <message>
        <source>Normalization gain: %.2f</source>
        <translation>Normalisierungsfaktor: %.2f</translation>
    </message>
    <message>
        <source>No CD drive or CD image found.</source>
        <translation>Kein CD-Laufwerk und kein CD-Abbild gefunden.</translation>
    </message>
    <message>
        <source>no disc</source>
        <translation>keine CD eingelegt</translation>
    </message>
    <message>
        <source>There is no CD drive named %s.</source>
        <translation>Es gibt kein CD-Laufwerk namens %s.</translation>
    </message>
    <message>
        <source>Not a track number: %s</source>
        <translation>Keine Titelnummer: %s</translation>
    </message>
    <message>
        <source>Usage: quillet-cli [OPTIONS] COMMAND [ARGUMENTS]

Commands:
  open FILE                  open a WAV, MP3, OGG, WMA, WMV or ASF file as the input
  info                       show the input, its format, duration, selection and its loudness
  select START END [--fade-in T] [--fade-out T]
                             set the ringtone&apos;s selection and fades
  extract [-o FILE] [--force] make the ringtone (OGG Vorbis); also for make: --force
                             replaces an existing FILE
  make FILE -o OUT [--start T] [--end T] [--fade-in T] [--fade-out T]
       [--format ogg|m4r|mp3|opus] [--loudness [LUFS]]
                             open, select and save in one go, leaving the input alone;
                             the gain follows the peak around the selection, or with
                             --loudness the selection&apos;s loudness (TargetLoudness by default)
  suggest [--length T]       select the input&apos;s loudest repeated stretch (its chorus)
  beam                       send the ringtone to the service and follow the transfer until it
                             is finished on the service&apos;s page
  cd list                    list the CD drives and images with their tracks
  cd rip TRACK [--drive NAME]
                             extract a CD track and open it as the input
  play [--ringtone] [--from T] [--to T] [--loop N] [--device NAME]
                             play the input (or the ringtone with its fades) N times
  devices                    list the sound devices, their recording lines and volumes
  record --length T [--device NAME] [--source LINE] [--volume N]
                             record from the sound device for T (Ctrl+C stops early and keeps
                             the recording) and open the recording as the input
  settings                   list every setting
  settings KEY               print one setting (service addresses with their parameters)
  settings KEY VALUE         store one setting

Times are milliseconds or [hh:]mm:ss[.mmm].

Options:
  --work-dir DIR             folder of config.ini and the work files
  --log-dir DIR              folder of the trace logs
  --trace-level LEVEL        None, Error, Info, Debug, Detail or Verbose
  --lang LANG                language of the messages: en or de
  --help                     show this help
  --version                  show the version

Exit status: 0 success, 1 cancelled (Ctrl+C), 2 failed.</source>
        <translation>Aufruf: quillet-cli [OPTIONEN] BEFEHL [ARGUMENTE]

Befehle:
  open DATEI                 eine WAV-, MP3-, OGG-, WMA-, WMV- oder ASF-Datei als Quelle öffnen
  info                       Quelle, Format, Dauer, Auswahl und deren Lautheit anzeigen
  select ANFANG ENDE [--fade-in Z] [--fade-out Z]
                             Auswahl und Ein-/Ausblenden des Klingeltons festlegen
  extract [-o DATEI] [--force] Klingelton erstellen (OGG); --force ersetzt DATEI (auch make)
  make DATEI -o ZIEL [--start Z] [--end Z] [--fade-in Z] [--fade-out Z]
       [--format ogg|m4r|mp3|opus] [--loudness [LUFS]]
                             öffnen, auswählen und speichern in einem Schritt, ohne die Quelle zu
                             ändern; Verstärkung folgt dem Spitzenwert um die Auswahl, mit
                             --loudness der Lautheit der Auswahl (sonst TargetLoudness)
  suggest [--length Z]       den lautesten wiederholten Abschnitt der Quelle (Refrain) auswählen
  beam                       den Klingelton an den Dienst senden und die Übertragung verfolgen, bis
                             sie auf der Seite des Dienstes abgeschlossen ist
  cd list                    CD-Laufwerke und CD-Abbilder mit ihren Titeln anzeigen
  cd rip TITEL [--drive NAME]
                             einen CD-Titel einlesen und als Quelle öffnen
  play [--ringtone] [--from Z] [--to Z] [--loop N] [--device NAME]
                             die Quelle (oder den Klingelton mit Blenden) N-mal abspielen
  devices                    Audiogeräte mit Aufnahmeleitungen und Lautstärken anzeigen
  record --length Z [--device NAME] [--source LEITUNG] [--volume N]
                             Z lang vom Audiogerät aufnehmen (Strg+C beendet früher und behält
                             die Aufnahme) und die Aufnahme als Quelle öffnen
  settings                   alle Einstellungen anzeigen
  settings SCHLÜSSEL         eine Einstellung anzeigen (Dienstadressen mit ihren Parametern)
  settings SCHLÜSSEL WERT    eine Einstellung speichern

Zeiten werden in Millisekunden oder als [hh:]mm:ss[.mmm] angegeben.

Optionen:
  --work-dir ORDNER          Ordner für config.ini und die Arbeitsdateien
  --log-dir ORDNER           Ordner für die Protokolldateien
  --trace-level STUFE        None, Error, Info, Debug, Detail oder Verbose
  --lang SPRACHE             Sprache der Meldungen: en oder de
  --help                     diese Hilfe anzeigen
  --version                  die Version anzeigen

Rückgabewert: 0 Erfolg, 1 abgebrochen (Strg+C), 2 fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Finish sending the ringtone on this page: %s</source>
        <translation>Schließen Sie das Senden des Klingeltons auf dieser Seite ab: %s</translation>
    </message>
    <message>
        <source>The ringtone was sent.</source>
        <translation>Der Klingelton wurde gesendet.</translation>
    </message>
    <message>
        <source>Playing</source>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>%s of %s</source>
        <translation>%s von %s</translation>
    </message>
    <message>
        <source>Playback devices:</source>
        <translation>Wiedergabegeräte:</translation>
    </message>
    <message>
        <source>Capture devices:</source>
        <translation>Aufnahmegeräte:</translation>
    </message>
    <message>
        <source>%s: volume %d of %d</source>
        <translation>%s: Lautstärke %d von %d</translation>
    </message>
    <message>
        <source>recorded line: %s</source>
        <translation>aufgenommene Leitung: %s</translation>
    </message>
    <message>
        <source>level %s  %s of %s</source>
        <translation>Pegel %s  %s von %s</translation>
    </message>
    <message>
        <source>Not a volume (0 to %d): %s</source>
        <translation>Keine Lautstärke (0 bis %d): %s</translation>
    </message>
    <message>
        <source>the sound device failed</source>
        <translation>das Audiogerät ist ausgefallen</translation>
    </message>
    <message>
        <source>Not a count: %s</source>
        <translation>Keine Anzahl: %s</translation>
    </message>
    <message>
        <source>About Quillet</source>
        <translation>Über Quillet</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Keys of the waveform view</source>
        <translation>Tasten der Wellenform-Ansicht</translation>
    </message>
    <message>
        <source>Ctrl+Z	Undo the last change of the selection</source>
        <translation>Strg+Z	Letzte Änderung der Auswahl rückgängig machen</translation>
    </message>
    <message>
        <source>Ctrl+Shift+Z, Ctrl+Y	Redo the change undone last</source>
        <translation>Strg+Umschalt+Z, Strg+Y	Zuletzt rückgängig gemachte Änderung wiederherstellen</translation>
    </message>
    <message>
        <source>[ and ]	Set the ringtone&apos;s start or end at the play position</source>
        <translation>[ und ]	Anfang oder Ende des Klingeltons an die Wiedergabeposition setzen</translation>
    </message>
    <message>
        <source>Left, Right	Move the position by one pixel column</source>
        <translation>Links, Rechts	Position um eine Bildpunktspalte verschieben</translation>
    </message>
    <message>
        <source>Shift+Left, Shift+Right	Move the position by one second</source>
        <translation>Umschalt+Links, Umschalt+Rechts	Position um eine Sekunde verschieben</translation>
    </message>
    <message>
        <source>Home, End	Go to the begin or end of the visible part</source>
        <translation>Pos1, Ende	Zum Anfang oder Ende des sichtbaren Bereichs</translation>
    </message>
    <message>
        <source>L	Play the loop seam: the ringtone&apos;s end running into its start</source>
        <translation>L	Übergang vom Ende des Klingeltons in seinen Anfang abspielen</translation>
    </message>
    <message>
        <source>Space, Enter	Press the focused button</source>
        <translation>Leertaste, Eingabe	Die Schaltfläche mit dem Fokus drücken</translation>
    </message>
    <message>
        <source>Esc	Cancel moving the selection</source>
        <translation>Esc	Verschieben der Auswahl abbrechen</translation>
    </message>
    <message>
        <source>Settings folder:</source>
        <translation>Ordner der Einstellungen:</translation>
    </message>
    <message>
        <source>Trace folder:</source>
        <translation>Ordner der Protokolle:</translation>
    </message>
    <message>
        <source>Ask again before extracting a CD track</source>
        <translation>Vor dem Einlesen eines CD-Titels wieder fragen</translation>
    </message>
    <message>
        <source>Extract CD track</source>
        <translation>CD-Titel einlesen</translation>
    </message>
    <message>
        <source>Drive:</source>
        <translation>Laufwerk:</translation>
    </message>
    <message>
        <source>the file was not found</source>
        <translation>die Datei wurde nicht gefunden</translation>
    </message>
    <message>
        <source>the directory path is incorrect.</source>
        <translation>die Ordnerangabe ist falsch.</translation>
    </message>
    <message>
        <source>the file is protected and cannot be opened.</source>
        <translation>die Datei ist geschützt und kann nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>the file is being used by another application and is unavailable.</source>
        <translation>die Datei wird von einer anderen Anwendung verwendet und ist nicht verfügbar.</translation>
    </message>
    <message>
        <source>the network is not responding to the request to open a remote file.</source>
        <translation>das Netzwerk antwortet nicht auf die Anfrage, eine Datei auf einem anderen Rechner zu öffnen.</translation>
    </message>
    <message>
        <source>the number of files simultaneously open is at a maximum level. The system has run out of available file handles.</source>
        <translation>es sind bereits so viele Dateien gleichzeitig geöffnet wie möglich. Dem System stehen keine weiteren Datei-Handles zur Verfügung.</translation>
    </message>
    <message>
        <source>the file is invalid.</source>
        <translation>die Datei ist ungültig.</translation>
    </message>
    <message>
        <source>error code = %d</source>
        <translation>Fehlercode = %d</translation>
    </message>
    <message>
        <source>error opening file %s: %s</source>
        <translation>Fehler beim Öffnen der Datei %s: %s</translation>
    </message>
    <message>
        <source>not a wave file</source>
        <translation>keine WAV-Datei</translation>
    </message>
    <message>
        <source>couldn&apos;t get format chunk</source>
        <translation>Formatblock nicht gefunden</translation>
    </message>
    <message>
        <source>error reading format</source>
        <translation>Fehler beim Lesen des Formats</translation>
    </message>
    <message>
        <source>couldn&apos;t get data chunk</source>
        <translation>Datenblock nicht gefunden</translation>
    </message>
    <message>
        <source>error reading from wav file</source>
        <translation>Fehler beim Lesen der WAV-Datei</translation>
    </message>
    <message>
        <source>failed to open file for writing</source>
        <translation>die Datei konnte nicht zum Schreiben geöffnet werden</translation>
    </message>
    <message>
        <source>could not create the RIFF chunk</source>
        <translation>der RIFF-Block konnte nicht angelegt werden</translation>
    </message>
    <message>
        <source>could not create the fmt chunk</source>
        <translation>der Formatblock konnte nicht angelegt werden</translation>
    </message>
    <message>
        <source>could not write format</source>
        <translation>das Format konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>could not create the data chunk</source>
        <translation>der Datenblock konnte nicht angelegt werden</translation>
    </message>
    <message>
        <source>could not ascend the data chunk</source>
        <translation>der Datenblock konnte nicht abgeschlossen werden</translation>
    </message>
    <message>
        <source>error writing to wav file</source>
        <translation>Fehler beim Schreiben der WAV-Datei</translation>
    </message>
    <message>
        <source>error creating dest wav file</source>
        <translation>Fehler beim Erstellen der WAV-Zieldatei</translation>
    </message>
    <message>
        <source>Invalid mp3 file!</source>
        <translation>Ungültige MP3-Datei!</translation>
    </message>
    <message>
        <source>Cannot open ogg files with multiple streams.</source>
        <translation>OGG-Dateien mit mehreren Streams können nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Error writing %lu bytes to file</source>
        <translation>Fehler beim Schreiben von %lu Bytes in die Datei</translation>
    </message>
    <message>
        <source>DAT: NULL waveformatex as parameter</source>
        <translation>DAT: Es wurde kein Audioformat übergeben</translation>
    </message>
    <message>
        <source>NULL DAT file name as parameter</source>
        <translation>Es wurde kein Name für die DAT-Datei übergeben</translation>
    </message>
    <message>
        <source>error creating DAT file &quot;%s&quot;</source>
        <translation>Fehler beim Erstellen der DAT-Datei „%s“</translation>
    </message>
    <message>
        <source>invalid DAT file state</source>
        <translation>ungültiger Zustand der DAT-Datei</translation>
    </message>
    <message>
        <source>WAV: NULL waveformatex as parameter</source>
        <translation>WAV: Es wurde kein Audioformat übergeben</translation>
    </message>
    <message>
        <source>Error creating WAV file &quot;%s&quot;</source>
        <translation>Fehler beim Erstellen der WAV-Datei „%s“</translation>
    </message>
    <message>
        <source>Error writing %lu bytes to WAV file</source>
        <translation>Fehler beim Schreiben von %lu Bytes in die WAV-Datei</translation>
    </message>
    <message>
        <source>OGG: Invalid mode for OGG encoder (%ld). Only STEREO (%ld) and MONO (%ld) mode supported</source>
        <translation>OGG: Ungültiger Modus für den OGG-Encoder (%ld). Unterstützt werden nur STEREO (%ld) und MONO (%ld)</translation>
    </message>
    <message>
        <source>OGG: Invalid quality for OGG encoder (%ld). Valid values are between -1 and 10.</source>
        <translation>OGG: Ungültige Qualität für den OGG-Encoder (%ld). Gültige Werte liegen zwischen -1 und 10.</translation>
    </message>
    <message>
        <source>OGG: NULL paramater for file name</source>
        <translation>OGG: Es wurde kein Dateiname übergeben</translation>
    </message>
    <message>
        <source>error creating OGG file &quot;%s&quot;</source>
        <translation>Fehler beim Erstellen der OGG-Datei „%s“</translation>
    </message>
    <message>
        <source>OGG: Error initializing vorbis encoder</source>
        <translation>OGG: Fehler beim Initialisieren des Vorbis-Encoders</translation>
    </message>
    <message>
        <source>OGG: invalid file state</source>
        <translation>OGG: ungültiger Dateizustand</translation>
    </message>
    <message>
        <source>Track %02d (%s)</source>
        <translation>Titel %02d (%s)</translation>
    </message>
    <message>
        <source>audio</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>data</source>
        <translation>Daten</translation>
    </message>
    <message>
        <source>couldn&apos;t load cursor from file %s</source>
        <translation>Mauszeiger aus der Datei %s konnte nicht geladen werden</translation>
    </message>
    <message>
        <source>The settings could not be saved to %s: %s</source>
        <translation>Die Einstellungen konnten nicht in %s gespeichert werden: %s</translation>
    </message>
    <message>
        <source>Another Quillet is still working in %s.</source>
        <translation>Ein anderes Quillet arbeitet noch in %s.</translation>
    </message>
    <message>
        <source>Waiting for another Quillet to finish in %s ...</source>
        <translation>Warte, bis ein anderes Quillet in %s fertig ist ...</translation>
    </message>
    <message>
        <source>%s is the input; the ringtone goes to another file.</source>
        <translation>%s ist die Eingabe; der Klingelton muss in eine andere Datei.</translation>
    </message>
    <message>
        <source>%s is a work file of Quillet; choose another output.</source>
        <translation>%s ist eine Arbeitsdatei von Quillet; bitte eine andere Ausgabe wählen.</translation>
    </message>
    <message>
        <source>%s is not a regular file.</source>
        <translation>%s ist keine gewöhnliche Datei.</translation>
    </message>
    <message>
        <source>%s exists already; give --force to replace it.</source>
        <translation>%s gibt es schon; mit --force wird sie ersetzt.</translation>
    </message>
    <message>
        <source>the file has %d channels; only mono and stereo can be used</source>
        <translation>die Datei hat %d Kanäle; nur Mono und Stereo sind möglich</translation>
    </message>
    <message>
        <source>the file&apos;s sample rate of %s Hz cannot be used</source>
        <translation>die Abtastrate der Datei von %s Hz ist nicht verwendbar</translation>
    </message>
    <message>
        <source>%s is not a regular file</source>
        <translation>%s ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>the file&apos;s path holds a line break, which cannot be stored</source>
        <translation>der Pfad der Datei enthält einen Zeilenumbruch, der nicht gespeichert werden kann</translation>
    </message>
    <message>
        <source>The value of %s must be one line.</source>
        <translation>Der Wert von %s muss eine einzige Zeile sein.</translation>
    </message>
    <message>
        <source>%s takes a number from %s to %s.</source>
        <translation>%s nimmt eine Zahl von %s bis %s.</translation>
    </message>
    <message>
        <source>%s takes 0 or 1.</source>
        <translation>%s nimmt 0 oder 1.</translation>
    </message>
    <message>
        <source>%s takes an http or https address.</source>
        <translation>%s nimmt eine http- oder https-Adresse.</translation>
    </message>
    <message>
        <source>%s takes four numbers: start,end,fade-in,fade-out (milliseconds).</source>
        <translation>%s nimmt vier Zahlen: Anfang,Ende,Einblenden,Ausblenden (Millisekunden).</translation>
    </message>
    <message>
        <source>%s takes None, Error, Info, Debug, Detail or Verbose.</source>
        <translation>%s nimmt None, Error, Info, Debug, Detail oder Verbose.</translation>
    </message>
    <message>
        <source>The setting %s was not changed.</source>
        <translation>Die Einstellung %s wurde nicht geändert.</translation>
    </message>
    <message>
        <source>Cause: %s</source>
        <translation>Ursache: %s</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Abgebrochen.</translation>
    </message>
    <message>
        <source>The transfer was cancelled on the service&apos;s page.</source>
        <translation>Die Übertragung wurde auf der Seite des Dienstes abgebrochen.</translation>
    </message>
    <message>
        <source>no answer from the service for %s seconds</source>
        <translation>seit %s Sekunden keine Antwort vom Dienst</translation>
    </message>
    <message>
        <source>Waveform</source>
        <translation>Wellenform</translation>
    </message>
    <message>
        <source>No input is open.</source>
        <translation>Keine Eingabe geöffnet.</translation>
    </message>
    <message>
        <source>Input %1, length %2. </source>
        <translation>Eingabe %1, Länge %2. </translation>
    </message>
    <message>
        <source>Ringtone from %1 to %2, fade-in %3 ms, fade-out %4 ms. </source>
        <translation>Klingelton von %1 bis %2, Einblenden %3 ms, Ausblenden %4 ms. </translation>
    </message>
    <message>
        <source>No ringtone selected. </source>
        <translation>Kein Klingelton gewählt. </translation>
    </message>
    <message>
        <source>Position %1.</source>
        <translation>Abspielposition %1.</translation>
    </message>
    <message>
        <source>This build of Quillet has no web browser: the ringtone cannot be sent from here.</source>
        <translation>Diese Ausgabe von Quillet hat keinen Webbrowser: der Klingelton kann von hier aus nicht gesendet werden.</translation>
    </message>
    <message>
        <source>Error encoding the ringtone: %s.</source>
        <translation>Fehler beim Kodieren des Klingeltons: %s.</translation>
    </message>
    <message>
        <source>A ringtone in %s can be at most %d seconds long; this one has %s seconds.</source>
        <translation>Ein Klingelton im Format %s darf höchstens %d Sekunden lang sein; dieser hat %s Sekunden.</translation>
    </message>
    <message>
        <source>Cannot save as %s: %s.</source>
        <translation>Speichern als %s nicht möglich: %s.</translation>
    </message>
    <message>
        <source>This build of Quillet saves OGG Vorbis only; %s needs FFmpeg.</source>
        <translation>Diese Ausgabe von Quillet speichert nur OGG Vorbis; %s braucht FFmpeg.</translation>
    </message>
    <message>
        <source>No stretch of the input suits a ringtone.</source>
        <translation>Kein Abschnitt der Eingabe eignet sich als Klingelton.</translation>
    </message>
    <message>
        <source>%s takes one of: %s.</source>
        <translation>%s nimmt einen dieser Werte: %s.</translation>
    </message>
    <message>
        <source>Selection loudness: %s LUFS, true peak %s dBTP</source>
        <translation>Lautheit der Auswahl: %s LUFS, True Peak %s dBTP</translation>
    </message>
    <message>
        <source>Not a loudness (-70 to 0 LUFS): %s</source>
        <translation>Keine Lautheit (-70 bis 0 LUFS): %s</translation>
    </message>
    <message>
        <source>Unknown format %s: use ogg, m4r, mp3 or opus.</source>
        <translation>Unbekanntes Format %s: ogg, m4r, mp3 oder opus verwenden.</translation>
    </message>
    <message>
        <source>Looking for the chorus</source>
        <translation>Refrain wird gesucht</translation>
    </message>
    <message>
        <source>Ringtone</source>
        <translation>Klingelton</translation>
    </message>
    <message>
        <source>Normalize by loudness (EBU R128) instead of the peak</source>
        <translation>Nach Lautheit (EBU R128) statt nach Spitzenwert normalisieren</translation>
    </message>
    <message>
        <source>Target loudness (LUFS):</source>
        <translation>Ziellautheit (LUFS):</translation>
    </message>
    <message>
        <source>True-peak ceiling (dBTP):</source>
        <translation>Obergrenze True Peak (dBTP):</translation>
    </message>
    <message>
        <source>Select the chorus when a file is opened</source>
        <translation>Beim Öffnen einer Datei den Refrain auswählen</translation>
    </message>
    <message>
        <source>S	Select the suggested ringtone: the loudest part that repeats</source>
        <translation>S	Den vorgeschlagenen Klingelton wählen: den lautesten Teil, der sich wiederholt</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Lautstärke</translation>
    </message>
    <message>
        <source>L</source>
        <translation>L</translation>
    </message>
    <message>
        <source>R</source>
        <translation>R</translation>
    </message>
    <message>
        <source>Level of the left channel</source>
        <translation>Pegel des linken Kanals</translation>
    </message>
    <message>
        <source>Level of the right channel</source>
        <translation>Pegel des rechten Kanals</translation>
    </message>
    <message>
        <source>The lamp above a meter lights for two seconds when a sample reaches full scale.</source>
        <translation>Die Lampe über einer Anzeige leuchtet zwei Sekunden lang, wenn ein Abtastwert die Vollaussteuerung erreicht.</translation>
    </message>
    <message>
        <source>Recording volume of the selected source</source>
        <translation>Aufnahmelautstärke der gewählten Quelle</translation>
    </message>
    <message>
        <source>Recorded time</source>
        <translation>Aufgenommene Zeit</translation>
    </message>
    <message>
        <source>The sound of the last tenth of a second</source>
        <translation>Der Klang der letzten Zehntelsekunde</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>Pegel</translation>
    </message>
    <message>
        <source>The service&apos;s page is open in your web browser: finish sending the ringtone there, or cancel here.</source>
        <translation>Die Seite des Dienstes ist in Ihrem Webbrowser geöffnet: senden Sie den Klingelton dort fertig oder brechen Sie hier ab.</translation>
    </message>
</context>
</TS>

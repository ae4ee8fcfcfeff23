<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>Quillet</name>
    <message>
        <source>&amp;About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>couldn&apos;t open skin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>failed to parse skin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>failed to apply skin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current Position: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Weeks are not implemented so far !</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Beaming ringtone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Uploading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extracting ringtone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Track extraction failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>creating visualization file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>decoding file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Payment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>beaming ringtone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>connecting...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error decoding file %s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open file %s: unsupported extension.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not open file: %s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ringtone extraction failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Terminating ringtone beaming...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error beaming ringtone: %s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>communication interrupted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not load ringtone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not enough memory for upload request</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>invalid server answer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>invalid upload url %s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>extracting track</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extracting CD track</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>open file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>input name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>extract cd track</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>zoom in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>zoom out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>play</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>play ringtone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stop playing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>set ringtone start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>set ringtone end</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>set begin fading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>set end fading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>remove fading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>beam ringtone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>minimize</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cancel ringtone beaming</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>scroll left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>scroll right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>go to Quillet website</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Internet error: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No mixers found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The ringtone cannot be smaller than one second.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The ringtone cannot be larger than %d seconds.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio CD track [%s]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recorded from [%s]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error starting recording.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>upload finished</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording stopped: %s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>track%02d</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>recording</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>converting wav file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown recording error.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unsupported wave file, only 8 or 16 bit PCM files are supported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error creating visualization file %s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error converting wav file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error starting playing.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An internet connection is needed to perform this operation.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Windows media format components are not installed or they are too old! Please install the Window Media Player 9 or newer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ringtone length: %02d:%02d</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error downloading ringtone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error downloading ringtone: %s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloading ringtone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>downloading ringtone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ringtone downloaded successfully.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid file!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>transferring</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>supported files|*.wav;*.mp3;*.ogg;*.wma;*.wmv;*.asf|wav files (*.wav)|*.wav|mp3 files (*.mp3)|*.mp3|ogg files (*.ogg)|*.ogg|window media files (*.wma, *.wmv; *.asf)|*.wma;*.wmv;*.asf||</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%s|*%s|All Files|*.*||</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File not supported!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Track</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extract</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On some Win95/98/ME operating systems CD ripping can freeze or crash your system. Are you sure you want to continue?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound card:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start rec</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Year</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Month</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Second</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>January</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>February</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>March</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>April</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>May</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>June</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>July</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>August</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>September</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>October</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>November</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>December</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>h</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Years</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Months</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Week</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Weeks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> %s in %s </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown command: %s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The option %s needs a value.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no setting named %s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Too many arguments for %s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Input: %s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Title: %s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Format: %d Hz, %d channels, %d bit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration: %s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selection: %s to %s (%s), fade-in %d ms, fade-out %d ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selection: none</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No input is open.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ringtone written to %s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a time: %s. Give milliseconds or [hh:]mm:ss[.mmm].</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown option for %s: %s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Missing argument for %s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not write %s: %s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The selection must lie within the input (%s long).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Normalization gain: %.2f</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No CD drive or CD image found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no disc</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no CD drive named %s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a track number: %s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage: quillet-cli [OPTIONS] COMMAND [ARGUMENTS]

Commands:
  open FILE                  open a WAV, MP3, OGG, WMA, WMV or ASF file as the input
  info                       show the input, its format, duration, selection and its loudness
  select START END [--fade-in T] [--fade-out T]
                             set the ringtone&apos;s selection and fades
  extract [-o FILE]          make the ringtone of the selection (OGG Vorbis)
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finish sending the ringtone on this page: %s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The ringtone was sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Quillet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keys of the waveform view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+Z	Undo the last change of the selection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+Shift+Z, Ctrl+Y	Redo the change undone last</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[ and ]	Set the ringtone&apos;s start or end at the play position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left, Right	Move the position by one pixel column</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shift+Left, Shift+Right	Move the position by one second</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Home, End	Go to the begin or end of the visible part</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L	Play the loop seam: the ringtone&apos;s end running into its start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Space, Enter	Press the focused button</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Esc	Cancel moving the selection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings folder:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trace folder:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ask again before extracting a CD track</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extract CD track</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drive:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file was not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the directory path is incorrect.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is protected and cannot be opened.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is being used by another application and is unavailable.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the network is not responding to the request to open a remote file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the number of files simultaneously open is at a maximum level. The system has run out of available file handles.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is invalid.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>error code = %d</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>error opening file %s: %s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not a wave file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>couldn&apos;t get format chunk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>error reading format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>couldn&apos;t get data chunk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>error reading from wav file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>failed to open file for writing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>could not create the RIFF chunk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>could not create the fmt chunk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>could not write format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>could not create the data chunk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>could not ascend the data chunk</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>error writing to wav file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>error creating dest wav file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid mp3 file!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open ogg files with multiple streams.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error writing %lu bytes to file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DAT: NULL waveformatex as parameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NULL DAT file name as parameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>error creating DAT file &quot;%s&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>invalid DAT file state</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WAV: NULL waveformatex as parameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error creating WAV file &quot;%s&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error writing %lu bytes to WAV file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OGG: Invalid mode for OGG encoder (%ld). Only STEREO (%ld) and MONO (%ld) mode supported</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OGG: Invalid quality for OGG encoder (%ld). Valid values are between -1 and 10.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OGG: NULL paramater for file name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>error creating OGG file &quot;%s&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OGG: Error initializing vorbis encoder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OGG: invalid file state</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Track %02d (%s)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>audio</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>couldn&apos;t load cursor from file %s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This build of Quillet has no web browser: the ringtone cannot be sent from here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The service&apos;s page is open in your web browser: finish sending the ringtone there, or cancel here.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>

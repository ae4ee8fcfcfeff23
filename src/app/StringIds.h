// The string-table identifiers that the program's code uses, by name: the program's texts (100 to
// 299) and those of the file, codec and CD code (2100 to 2999). The command-line tool keeps its
// own range in main/cli/CliStrings.h.
#pragma once

enum StringTableId : int {
    // The stream view's two text lines.
    IDS_CURRENT_POSITION = 106, // "Current Position: "
    IDS_RINGTONE_LENGTH = 196,  // "ringtone length: %02d:%02d"
    // Beaming: the progress texts, its status lines and its failures.
    IDS_BEAMING_TITLE = 108,             // "Beaming ringtone"
    IDS_UPLOADING = 109,                 // "Uploading"
    IDS_EXTRACTING_RINGTONE = 110,       // "Extracting ringtone"
    IDS_TRACK_EXTRACTION_FAILED = 112,   // "Track extraction failed."
    IDS_CREATING_DAT = 113,              // "creating visualization file"
    IDS_OPEN_FILE = 115,                 // "Open file"
    IDS_DECODING_FILE = 116,             // "decoding file"
    IDS_BEAMING_STATUS = 119,            // "beaming ringtone"
    IDS_CONNECTING = 120,                // "connecting..."
    IDS_ERROR_DECODING = 121,            // "Error decoding file %s."
    IDS_UNSUPPORTED_EXTENSION = 122,     // "Cannot open file %s: unsupported extension."
    IDS_COULD_NOT_OPEN = 123,            // "Could not open file: %s."
    IDS_EXTRACTION_FAILED = 124,         // "Ringtone extraction failed."
    IDS_TERMINATING_BEAM = 125,          // "Terminating ringtone beaming..."
    IDS_ERROR_BEAMING = 126,             // "Error beaming ringtone: %s."
    IDS_COMMUNICATION_INTERRUPTED = 127, // "communication interrupted"
    IDS_COULD_NOT_LOAD_RINGTONE = 128,   // "Could not load ringtone"
    IDS_UPLOAD_NO_MEMORY = 129,          // "not enough memory for upload request"
    IDS_INVALID_SERVER_ANSWER = 130,     // "invalid server answer"
    IDS_INVALID_UPLOAD_URL = 131,        // "invalid upload url %s"
    IDS_EXTRACTING_TRACK = 133,          // "extracting track"
    IDS_EXTRACTING_CD_TRACK = 135,       // "Extracting CD track"
    IDS_INTERNET_ERROR = 159,            // "Internet error: "
    IDS_LINE_NOT_FOUND = 161,            // "Not found"
    IDS_NO_MIXERS = 162,                 // "No mixers found"
    IDS_RINGTONE_TOO_SHORT = 163,        // "The ringtone cannot be smaller than one second."
    IDS_RINGTONE_TOO_LONG = 164,         // "The ringtone cannot be larger than %d seconds."
    IDS_CD_TRACK_NAME = 165,             // "Audio CD track [%s]"
    IDS_RECORDED_NAME = 166,             // "Recorded from [%s]"
    IDS_ERROR_STARTING_RECORDING = 167,  // "Error starting recording."
    IDS_UPLOAD_FINISHED = 168,           // "upload finished"
    IDS_RECORDING_STOPPED = 169,         // "Recording stopped: %s"
    IDS_CD_TRACK_TITLE = 170,            // "track%02d"
    IDS_RECORDING_TITLE = 171,           // "recording"
    IDS_CONVERTING = 172,                // "converting wav file"
    IDS_UNKNOWN_RECORDING_ERROR = 173,   // "Unknown recording error."
    IDS_UNSUPPORTED_WAVE = 174,          // "Unsupported wave file, only 8 or 16 bit PCM ..."
    IDS_ERROR_CREATING_DAT = 175,        // "Error creating visualization file %s."
    IDS_ERROR_CONVERTING = 177,          // "Error converting wav file."
    IDS_ERROR_STARTING_PLAYING = 179,    // "Error starting playing."
    IDS_CONNECTION_NEEDED = 180,         // "An internet connection is needed to ..."
    IDS_COMPONENTS_MISSING = 187,        // "Windows media format components are not installed ..."
    IDS_INVALID_FILE = 214,              // "Invalid file!"
    IDS_NOT_SUPPORTED = 220,             // "File not supported!"

    // The dialogs: their buttons and labels.
    IDS_DLG_CANCEL = 2000,       // "Cancel"
    IDS_DLG_OK = 2001,           // "OK"
    IDS_DLG_YES = 2002,          // "Yes"
    IDS_DLG_NO = 2003,           // "No"
    IDS_DLG_CLOSE = 2004,        // "Close"
    IDS_DLG_TRACK = 2005,        // "Track"
    IDS_DLG_EXTRACT = 2006,      // "Extract"
    IDS_DLG_REFRESH = 2007,      // "Refresh"
    IDS_ASK_WANT_CD_RIP = 2008,  // "On some Win95/98/ME operating systems CD ripping can ..."
    IDS_RECORDING_DIALOG = 2009, // "Recording"
    IDS_SOUND_CARD = 2010,       // "Sound card:"
    IDS_SOURCE = 2011,           // "Source:"
    IDS_START_REC = 2012,        // "Start rec"
    IDS_STOP_REC = 2013,         // "Stop"
    IDS_ABOUT_TITLE = 2050,      // "About Quillet"
    IDS_ABOUT_LANGUAGE = 2051,   // "Language"
    IDS_ABOUT_KEYS = 2052,       // "Keys of the waveform view"
    IDS_ABOUT_KEY_FIRST = 2053,  // the first line of the key help: "Ctrl+Z<tab>Undo ..."
    IDS_ABOUT_KEY_LAST = 2061,   // its last line: "Esc<tab>Cancel moving the selection"
    IDS_ABOUT_KEY_LOOP = 2059,   // the loop seam's line; the suggestion's line comes after it
    IDS_ABOUT_SETTINGS = 2062,   // "Settings folder:"
    IDS_ABOUT_TRACE = 2063,      // "Trace folder:"
    IDS_ASK_CD_RIP_AGAIN = 2064, // "Ask again before extracting a CD track"
    IDS_CD_DIALOG_TITLE = 2065,  // "Extract CD track"
    IDS_CD_DRIVE = 2066,         // "Drive:"
    IDS_ABOUT_RINGTONE = 2067,   // "Ringtone"
    IDS_ABOUT_LOUDNESS = 2068,   // "Normalize by loudness (EBU R128) instead of the peak"
    IDS_ABOUT_TARGET = 2069,     // "Target loudness (LUFS):"
    IDS_ABOUT_CEILING = 2070,    // "True-peak ceiling (dBTP):"
    IDS_ABOUT_SUGGEST = 2071,    // "Select the chorus when a file is opened"
    IDS_ABOUT_KEY_S = 2072,      // "S<tab>Select the suggested ringtone: ..."

    // Opening a WAV file: what went wrong, and the message around it.
    IDS_WAV_FILE_NOT_FOUND = 2100,
    IDS_WAV_PATH_NOT_FOUND = 2101,
    IDS_WAV_ACCESS_DENIED = 2102,
    IDS_WAV_SHARING_VIOLATION = 2103,
    IDS_WAV_NETWORK_ERROR = 2104,
    IDS_WAV_TOO_MANY_OPEN_FILES = 2105,
    IDS_WAV_INVALID_FILE = 2106,
    IDS_WAV_OTHER_OPEN_ERROR = 2107,
    IDS_WAV_OPEN_FAILED = 2108,
    // Reading a WAV file.
    IDS_WAV_NOT_A_WAVE_FILE = 2110,
    IDS_WAV_NO_FORMAT_CHUNK = 2111,
    IDS_WAV_FORMAT_READ_ERROR = 2112,
    IDS_WAV_NO_DATA_CHUNK = 2113,
    IDS_WAV_READ_ERROR = 2114,
    // Writing a WAV file.
    IDS_WAV_CANNOT_CREATE = 2120,
    IDS_WAV_NO_RIFF_CHUNK = 2121,
    IDS_WAV_NO_FMT_CHUNK = 2122,
    IDS_WAV_FORMAT_WRITE_ERROR = 2123,
    IDS_WAV_NO_DATA_CHUNK_CREATED = 2124,
    IDS_WAV_DATA_CHUNK_NOT_CLOSED = 2125,
    IDS_WAV_WRITE_ERROR = 2126,
    IDS_WAV_CANNOT_CREATE_DESTINATION = 2127,
    // The decoders.
    IDS_MP3_INVALID_FILE = 2140,
    IDS_OGG_MULTIPLE_STREAMS = 2141,
    // The file encoders.
    IDS_ENC_WRITE_ERROR = 2160,
    IDS_DAT_NO_FORMAT = 2161,
    IDS_DAT_NO_FILE_NAME = 2162,
    IDS_DAT_CANNOT_CREATE = 2163,
    IDS_DAT_INVALID_STATE = 2164,
    IDS_WAVENC_NO_FORMAT = 2165,
    IDS_WAVENC_CANNOT_CREATE = 2166,
    IDS_WAVENC_WRITE_ERROR = 2167,
    IDS_OGG_INVALID_MODE = 2168,
    IDS_OGG_INVALID_QUALITY = 2169,
    IDS_OGG_NO_FILE_NAME = 2170,
    IDS_OGG_CANNOT_CREATE = 2171,
    IDS_OGG_ENCODER_INIT_FAILED = 2172,
    IDS_OGG_INVALID_STATE = 2173,
    // The CD track list.
    IDS_CD_TRACK_LINE = 2180,
    IDS_CD_TRACK_AUDIO = 2181,
    IDS_CD_TRACK_DATA = 2182,
    IDS_SKIN_CURSOR_FAILED = 2190,
    IDS_SOUND_DEVICE_FAILED = 2191,
    // Saving the settings.
    IDS_CONFIG_NOT_SAVED = 2200,
    // Two processes on one work folder.
    IDS_WORK_FOLDER_BUSY = 2201,
    IDS_WAITING_FOR_WORK_FOLDER = 2202,
    // Inputs the program refuses.
    IDS_WAVE_CHANNELS = 2203,
    IDS_WAVE_SAMPLE_RATE = 2204,
    IDS_NOT_A_REGULAR_FILE = 2205,
    IDS_PATH_HAS_LINE_BREAK = 2206,
    // The beaming service that stops answering.
    IDS_SERVICE_SILENT = 2207,
    // Saving the ringtone in a format of the person's choice.
    IDS_SAVE_CANNOT_WRITE = 2208,
    IDS_FORMAT_ENCODER_FAILED = 2209,
    IDS_FORMAT_TOO_LONG = 2210,
    IDS_FORMAT_UNAVAILABLE = 2211,
    IDS_FORMAT_NEEDS_FFMPEG = 2212,
    // The suggested selection.
    IDS_NO_SUGGESTION = 2213,
    IDS_FINDING_SUGGESTION = 2214,
    // The waveform's text for screen readers (%1... are filled in by the view).
    IDS_VIEW_NAME = 2400,
    IDS_VIEW_NO_INPUT = 2401,
    IDS_VIEW_INPUT = 2402,
    IDS_VIEW_SELECTION = 2403,
    IDS_VIEW_NO_SELECTION = 2404,
    IDS_VIEW_POSITION = 2405,
    // The recording dialog's own labels and hints.
    IDS_REC_VOLUME = 2500,      // "Volume"
    IDS_REC_LEFT = 2501,        // "L"
    IDS_REC_RIGHT = 2502,       // "R"
    IDS_REC_LEFT_LEVEL = 2503,  // "Level of the left channel"
    IDS_REC_RIGHT_LEVEL = 2504, // "Level of the right channel"
    IDS_REC_CLIP_HINT = 2505,   // "The lamp above a meter lights for two seconds ..."
    IDS_REC_VOLUME_HINT = 2506, // "Recording volume of the selected source"
    IDS_REC_TIME = 2507,        // "Recorded time"
    IDS_REC_WAVE = 2508,        // "The sound of the last tenth of a second"
    IDS_REC_LEVEL = 2509,       // "Level"
};

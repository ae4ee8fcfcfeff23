// The translation library: five calls that load a translation file and translate English texts.
#pragma once

#include <QString>
#include <QtGlobal>

#include <cstddef>

// Room for a path in the library's parameter blocks, in UTF-16 units with the terminating zero.
constexpr int kGlossaPathChars = 260;

// What GLStart is given: 1596 bytes, zeroed by the caller before the fields are set.
struct GLStartParams {
    quint32 reserved0;                  // 0
    char16_t traFile[kGlossaPathChars]; // the translation file to load
    char16_t text[kGlossaPathChars];    // empty
    quint32 reserved1044;               // 0
    char16_t iniFile[kGlossaPathChars]; // the library's settings file (Quillet.ini)
    quint32 value1568;                  // 1
    quint32 value1572;                  // 0
    quint32 value1576;                  // 1
    quint32 magic;                      // kGlossaStartMagic; GLStart refuses other blocks
    quint32 value1584;                  // 1
    quint32 reserved1588;               // 0
    quint32 reserved1592;               // 0
};
constexpr quint32 kGlossaStartMagic = 0x1234;
static_assert(sizeof(GLStartParams) == 1596);
static_assert(offsetof(GLStartParams, traFile) == 4);
static_assert(offsetof(GLStartParams, text) == 524);
static_assert(offsetof(GLStartParams, reserved1044) == 1044);
static_assert(offsetof(GLStartParams, iniFile) == 1048);
static_assert(offsetof(GLStartParams, value1568) == 1568);
static_assert(offsetof(GLStartParams, value1572) == 1572);
static_assert(offsetof(GLStartParams, value1576) == 1576);
static_assert(offsetof(GLStartParams, magic) == 1580);
static_assert(offsetof(GLStartParams, value1584) == 1584);
static_assert(offsetof(GLStartParams, reserved1588) == 1588);
static_assert(offsetof(GLStartParams, reserved1592) == 1592);

// Room for the loaded file's path at the end of the language parameters, with its zero.
constexpr int kGlossaLoadedPathChars = 263;

// What GLGetLanguageParams fills: 5140 bytes, every one of them written by the library.
struct GLLanguageParams {
    quint32 size;                                // 5140
    quint32 threadCount;                         // threads registered with GLAddThread
    char16_t language[32];                       // language tag stored in the loaded file
    char16_t iniFile[kGlossaPathChars];          // the settings file GLStart was given
    unsigned char reserved[4022];                // 0
    char16_t loadedFile[kGlossaLoadedPathChars]; // full path of the loaded file, or empty
};
static_assert(sizeof(GLLanguageParams) == 5140);
static_assert(offsetof(GLLanguageParams, language) == 8);
static_assert(offsetof(GLLanguageParams, iniFile) == 72);
static_assert(offsetof(GLLanguageParams, loadedFile) == 4614);

// The text of a zero-terminated UTF-16 field of at most capacity units.
QString GLFieldText(const char16_t* field, int capacity);
// Writes text into a field of capacity units, cut to capacity - 1 units, zero-terminated.
// Returns false when the text had to be cut.
bool GLSetFieldText(char16_t* field, int capacity, const QString& text);

// Loads the translation file named in the block; the texts stay English when it cannot be loaded.
// Returns whether a translation file is loaded. Calling it again starts over with the new block;
// a null block starts over with no translation file.
bool GLStart(const GLStartParams* params);
// Registers a thread that shows translated texts (the user-interface thread).
void GLAddThread(Qt::HANDLE threadId);
// Writes the translation of the zero-terminated English text to out (outChars units with the
// terminating zero) and returns its length; 0 when there is no translation, -1 when it does not fit
// or the arguments are unusable.
int GLTranslateString(char16_t* out, const char16_t* text, int outChars);
// Fills all 5140 bytes of the block.
void GLGetLanguageParams(GLLanguageParams* out);
// Translates with the zero-terminated path's file from now on. A file that cannot be loaded
// leaves the current translation in place and returns false.
bool GLSwitchLanguage(const char16_t* path);

// Receives the library's complaints (a translation file not found or not loadable), one line each.
using GLTRACEFUNC = void (*)(const QString& line);
// Sets the receiver of complaints; none when null. Callable from any thread.
void GLSetTraceFunc(GLTRACEFUNC function);

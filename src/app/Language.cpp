// The user-interface language: start, switch, remember and report it, and translate texts with it.
#include "app/Language.h"

#include "app/ConfigFile.h"
#include "app/Folders.h"
#include "app/Trace.h"
#include "platform/glossa/PrivateProfile.h"

#include <QThread>

#include <array>
#include <cstring>

namespace {
// Output room GLTranslateString is given, in UTF-16 units.
constexpr int kTranslationChars = 4096;
const QString kSection = QStringLiteral("Glossa");
const QString kLastTraFileKey = QStringLiteral("LastTraFile");

// The zero-terminated UTF-16 units of a text, as the translation library takes them.
const char16_t* Utf16(const QString& text) {
    return reinterpret_cast<const char16_t*>(text.utf16());
}
} // namespace

QString TranslateText(const QString& english) {
    std::array<char16_t, kTranslationChars> out;
    const int n = GLTranslateString(out.data(), Utf16(english), kTranslationChars);
    return n > 0 ? QString::fromUtf16(out.data(), n) : english;
}

QString LanguageOfTraFile(const QString& path) {
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype underscore = name.lastIndexOf(QLatin1Char('_'));
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (underscore < 0 || dot < underscore + 2)
        return {};
    return name.mid(underscore + 1, dot - underscore - 1);
}

QString GetCurrentLanguage() {
    GLLanguageParams params;
    GLGetLanguageParams(&params);
    const QString path = GLFieldText(params.loadedFile, kGlossaLoadedPathChars);
    const QString lang = LanguageOfTraFile(path);
    if (!lang.isEmpty())
        return lang;
    Trace(TRACE_ERROR, "unexpected tra file name, should have format: Quillet_[lang].tra: %s",
          path);
    return QStringLiteral("en");
}

QString GetLanguageMemoryPath() {
    return GetConfig().GetConfigFolder() + QStringLiteral("Quillet.ini");
}

QString GetLastTraFile() {
    return ReadProfileString(GetLanguageMemoryPath(), kSection, kLastTraFileKey, kGlossaPathChars);
}

bool SetLastTraFile(const QString& path) {
    const QString ini = GetLanguageMemoryPath();
    if (WriteProfileString(ini, kSection, kLastTraFileKey, path))
        return true;
    Trace(TRACE_ERROR, "could not write LastTraFile=%s to %s", path, ini);
    return false;
}

GLStartParams MakeStartParams(const QString& traFile, const QString& iniFile) {
    GLStartParams params;
    std::memset(&params, 0, sizeof(params));
    if (!GLSetFieldText(params.traFile, kGlossaPathChars, traFile))
        Trace(TRACE_ERROR, "translation file path too long: %s", traFile);
    if (!GLSetFieldText(params.iniFile, kGlossaPathChars, iniFile))
        Trace(TRACE_ERROR, "language settings path too long: %s", iniFile);
    params.value1568 = 1;
    params.value1572 = 0;
    params.value1576 = 1;
    params.magic = kGlossaStartMagic;
    params.value1584 = 1;
    return params;
}

namespace {
// The translation library's complaints go to the trace log as errors.
void TraceGlossaLine(const QString& line) {
    Trace(TRACE_ERROR, "%s", line);
}
} // namespace

bool StartLanguage(const QString& traFile, const QString& iniFile) {
    GLSetTraceFunc(&TraceGlossaLine);
    const GLStartParams params = MakeStartParams(traFile, iniFile);
    const bool loaded = GLStart(&params);
    GLAddThread(QThread::currentThreadId());
    return loaded;
}

bool SwitchLanguage(const QString& lang) {
    GetConfig().SetLanguage(lang, false);
    const QString traFile = GetTraFilePath(lang);
    const bool switched = GLSwitchLanguage(Utf16(traFile));
    SetLastTraFile(traFile);
    return switched;
}

// The translation library's five calls over the process's one translation state.
#include "platform/glossa/Glossa.h"

#include "platform/glossa/GlossaTranslator.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {
// The process's translation state, which every thread translates with.
CGlossaTranslator g_translator;

// The length of a zero-terminated UTF-16 text.
qsizetype TextLength(const char16_t* text) {
    qsizetype n = 0;
    while (text[n])
        ++n;
    return n;
}
} // namespace

QString GLFieldText(const char16_t* field, int capacity) {
    qsizetype n = 0;
    while (n < capacity && field[n])
        ++n;
    return QString::fromUtf16(field, n);
}

bool GLSetFieldText(char16_t* field, int capacity, const QString& text) {
    if (capacity <= 0)
        return text.isEmpty();
    const qsizetype n = std::min<qsizetype>(text.size(), capacity - 1);
    std::memcpy(field, text.utf16(), size_t(n) * sizeof(char16_t));
    std::memset(field + n, 0, size_t(capacity - n) * sizeof(char16_t));
    return n == text.size();
}

bool GLStart(const GLStartParams* params) {
    if (!params || params->magic != kGlossaStartMagic) {
        g_translator.Start(QString(), QString());
        return false;
    }
    return g_translator.Start(GLFieldText(params->traFile, kGlossaPathChars),
                              GLFieldText(params->iniFile, kGlossaPathChars));
}

void GLAddThread(Qt::HANDLE threadId) {
    g_translator.AddThread(threadId);
}

int GLTranslateString(char16_t* out, const char16_t* text, int outChars) {
    if (!out || !text || outChars <= 0)
        return -1;
    const QString english = QString::fromUtf16(text, TextLength(text));
    const QString translated = g_translator.Translate(english.toUtf8().constData());
    if (translated.isEmpty()) {
        out[0] = 0;
        return 0;
    }
    if (translated.size() >= outChars) {
        out[0] = 0;
        return -1;
    }
    std::memcpy(out, translated.utf16(), size_t(translated.size() + 1) * sizeof(char16_t));
    return int(translated.size());
}

void GLGetLanguageParams(GLLanguageParams* out) {
    if (!out)
        return;
    std::memset(out, 0, sizeof(*out));
    out->size = sizeof(GLLanguageParams);
    const CGlossaTranslator::Report report = g_translator.GetReport();
    out->threadCount = quint32(report.threadCount);
    GLSetFieldText(out->language, int(std::size(out->language)), report.language);
    GLSetFieldText(out->iniFile, kGlossaPathChars, report.iniFile);
    GLSetFieldText(out->loadedFile, kGlossaLoadedPathChars, report.loadedFile);
}

bool GLSwitchLanguage(const char16_t* path) {
    if (!path)
        return false;
    return g_translator.SwitchTo(QString::fromUtf16(path, TextLength(path)));
}

// One translation state: the loaded translation file, the library's settings file, its threads.
#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>
#include <mutex>
#include <vector>

class QTranslator;

// Translates English texts of the context "Quillet" with a Qt translation file (.tra). Every call
// is atomic under one lock, so worker threads may translate while the language is switched.
class CGlossaTranslator {
public:
    CGlossaTranslator();
    ~CGlossaTranslator();
    CGlossaTranslator(const CGlossaTranslator&) = delete;
    CGlossaTranslator& operator=(const CGlossaTranslator&) = delete;

    // Starts over: forgets the threads and the loaded file, then loads traFile (none when empty).
    // Returns whether it loaded; when not, texts stay English.
    bool Start(const QString& traFile, const QString& iniFile);
    void AddThread(Qt::HANDLE threadId);
    // Loads traFile in place of the current one; a file that does not load changes nothing.
    bool SwitchTo(const QString& traFile);

    // The translation of an English text (UTF-8); empty when there is none.
    QString Translate(const char* english) const;

    // What the state holds, read at one moment.
    struct Report {
        QString loadedFile; // full path of the loaded file; empty when none is loaded
        QString language;   // the language tag stored in the loaded file, such as "de"
        QString iniFile;
        int threadCount = 0;
    };
    Report GetReport() const;

private:
    mutable std::mutex m_mutex;
    std::unique_ptr<QTranslator> m_translator;
    QString m_loadedFile;
    QString m_iniFile;
    std::vector<Qt::HANDLE> m_threads;
};

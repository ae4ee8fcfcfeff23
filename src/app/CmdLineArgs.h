// The parsed command line: one file argument, "-name:value" options and their GNU forms.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// An option the program reads: its name in "-name:value" and its GNU form (null if none).
struct KnownOption {
    const char* name;
    const char* gnu;
};

class CCmdLineArgs {
public:
    // Parses the arguments after the program name (arguments[0] is skipped).
    explicit CCmdLineArgs(const QStringList& arguments);

    // The options the program reads, with their GNU forms ("--work-dir DIR" or "--work-dir=DIR").
    static const QList<KnownOption>& KnownOptions();

    // The first argument that is no option; empty if none. "/name:value" is an option only for
    // a known name, so an absolute path such as "/home/me/song.mp3" is a file.
    const QString& file() const { return m_file; }

    QString GetOption(const QString& name, const QString& defaultValue = QString()) const;
    int GetOptionInt(const QString& name, int defaultValue) const;
    double GetOptionDouble(const QString& name, double defaultValue) const;
    bool GetOptionBool(const QString& name, bool defaultValue) const;

private:
    // Takes a GNU option at arguments[i] (and its value after it); false if arg is none.
    bool takeGnuOption(const QStringList& arguments, qsizetype& i);
    // Takes "-name:value" or, for a known name, "/name:value"; false if arg is no option.
    bool takeOption(const QString& arg);

    QString m_file;
    QHash<QString, QString> m_options; // case-sensitive names
};

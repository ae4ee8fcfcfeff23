// The parsed command line: one file argument and "-name:value" options.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class CCmdLineArgs {
public:
    // Parses the arguments after the program name (arguments[0] is skipped).
    explicit CCmdLineArgs(const QStringList& arguments);

    // The first argument that begins neither with '-' nor with '/'; empty if none.
    const QString& file() const { return m_file; }

    QString GetOption(const QString& name, const QString& defaultValue = QString()) const;
    int GetOptionInt(const QString& name, int defaultValue) const;
    double GetOptionDouble(const QString& name, double defaultValue) const;
    bool GetOptionBool(const QString& name, bool defaultValue) const;

private:
    QString m_file;
    QHash<QString, QString> m_options; // case-sensitive names
};

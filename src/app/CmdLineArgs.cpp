// The parsed command line.
#include "app/CmdLineArgs.h"

#include "util/NumberText.h"

CCmdLineArgs::CCmdLineArgs(const QStringList& arguments) {
    bool fileSeen = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        const bool isOption = arg.startsWith(QLatin1Char('-')) || arg.startsWith(QLatin1Char('/'));
        if (!isOption) {
            if (!fileSeen)
                m_file = arg;
            fileSeen = true;
            continue;
        }
        // "-name:value": split at the first colon only, so values may hold colons themselves.
        const qsizetype colon = arg.indexOf(QLatin1Char(':'), 1);
        if (colon <= 1)
            continue; // no colon, or an empty name
        m_options.insert(arg.mid(1, colon - 1), arg.mid(colon + 1));
    }
}

QString CCmdLineArgs::GetOption(const QString& name, const QString& defaultValue) const {
    return m_options.value(name, defaultValue);
}

int CCmdLineArgs::GetOptionInt(const QString& name, int defaultValue) const {
    const auto it = m_options.constFind(name);
    return it == m_options.cend() ? defaultValue : TextToInt(*it);
}

double CCmdLineArgs::GetOptionDouble(const QString& name, double defaultValue) const {
    const auto it = m_options.constFind(name);
    return it == m_options.cend() ? defaultValue : TextToDouble(*it);
}

bool CCmdLineArgs::GetOptionBool(const QString& name, bool defaultValue) const {
    return GetOptionInt(name, defaultValue ? 1 : 0) != 0;
}

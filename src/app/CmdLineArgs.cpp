// The parsed command line.
#include "app/CmdLineArgs.h"

#include "util/NumberText.h"

#include <algorithm>

const QList<KnownOption>& CCmdLineArgs::KnownOptions() {
    static const QList<KnownOption> options = {
        {"work_dir", "--work-dir"}, {"log_dir", "--log-dir"}, {"trace_level", "--trace-level"},
        {"lang", "--lang"},         {"skin", "--skin"},       {"help", nullptr}};
    return options;
}

CCmdLineArgs::CCmdLineArgs(const QStringList& arguments) {
    bool fileSeen = false;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && (takeGnuOption(arguments, i) || takeOption(arg)))
            continue;
        if (!fileSeen)
            m_file = arg;
        fileSeen = true;
    }
}

bool CCmdLineArgs::takeGnuOption(const QStringList& arguments, qsizetype& i) {
    const QString& arg = arguments[i];
    if (!arg.startsWith(QLatin1String("--")))
        return false;
    for (const KnownOption& option : KnownOptions()) {
        if (!option.gnu)
            continue;
        const QLatin1String gnu(option.gnu);
        if (arg.startsWith(gnu) && arg.size() > gnu.size() && arg[gnu.size()] == QLatin1Char('=')) {
            m_options.insert(QLatin1String(option.name), arg.mid(gnu.size() + 1));
            return true;
        }
        if (arg == gnu) {
            // The value is the next argument; a GNU option at the very end has none.
            if (i + 1 < arguments.size())
                m_options.insert(QLatin1String(option.name), arguments[++i]);
            return true;
        }
    }
    return false;
}

bool CCmdLineArgs::takeOption(const QString& arg) {
    const bool dash = arg.startsWith(QLatin1Char('-'));
    if (!dash && !arg.startsWith(QLatin1Char('/')))
        return false;
    // "-name:value": split at the first colon only, so values may hold colons themselves.
    const qsizetype colon = arg.indexOf(QLatin1Char(':'), 1);
    const QString name = arg.mid(1, colon < 0 ? -1 : colon - 1);
    if (!dash) {
        const QList<KnownOption>& known = KnownOptions();
        if (std::none_of(known.begin(), known.end(),
                         [&name](const KnownOption& o) { return name == QLatin1String(o.name); }))
            return false; // a path such as /home/me/song.mp3
    }
    if (colon > 1)
        m_options.insert(name, arg.mid(colon + 1));
    return true; // without a colon, or with an empty name, the option is ignored
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

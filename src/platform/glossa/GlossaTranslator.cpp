// One translation state over QTranslator.
#include "platform/glossa/GlossaTranslator.h"

#include "platform/glossa/Glossa.h"

#include <QFileInfo>
#include <QTranslator>

#include <algorithm>
#include <atomic>

namespace {
constexpr char kContext[] = "Quillet";

// The library's one receiver of complaints, as a DLL keeps its callback: set and read from any
// thread.
std::atomic<GLTRACEFUNC> g_traceFunction{nullptr};

void Complain(const QString& line) {
    if (const GLTRACEFUNC function = g_traceFunction.load())
        function(line);
}

// The translator of exactly the file at path (no other name or suffix is tried), or nullptr.
std::unique_ptr<QTranslator> LoadTranslator(const QString& path) {
    if (path.isEmpty())
        return nullptr;
    const QFileInfo info(path);
    if (!info.isFile()) {
        Complain(QStringLiteral("translation file not found: ") + path);
        return nullptr;
    }
    auto translator = std::make_unique<QTranslator>();
    // An empty (not null) delimiter list and suffix make QTranslator take the name as it stands
    // instead of trying "<name>.qm" and shortened names first.
    const QString none(QLatin1String(""));
    if (!translator->load(info.fileName(), info.absolutePath(), none, none)) {
        Complain(QStringLiteral("cannot load translation file ") + path);
        return nullptr;
    }
    return translator;
}
} // namespace

void GLSetTraceFunc(GLTRACEFUNC function) {
    g_traceFunction.store(function);
}

CGlossaTranslator::CGlossaTranslator() = default;
CGlossaTranslator::~CGlossaTranslator() = default;

bool CGlossaTranslator::Start(const QString& traFile, const QString& iniFile) {
    std::unique_ptr<QTranslator> translator = LoadTranslator(traFile);
    const std::lock_guard lock(m_mutex);
    m_iniFile = iniFile;
    m_threads.clear();
    m_loadedFile = translator ? QFileInfo(traFile).absoluteFilePath() : QString();
    m_translator = std::move(translator);
    return m_translator != nullptr;
}

void CGlossaTranslator::AddThread(Qt::HANDLE threadId) {
    const std::lock_guard lock(m_mutex);
    if (std::find(m_threads.begin(), m_threads.end(), threadId) == m_threads.end())
        m_threads.push_back(threadId);
}

bool CGlossaTranslator::SwitchTo(const QString& traFile) {
    std::unique_ptr<QTranslator> translator = LoadTranslator(traFile);
    if (!translator)
        return false;
    const std::lock_guard lock(m_mutex);
    m_loadedFile = QFileInfo(traFile).absoluteFilePath();
    m_translator = std::move(translator);
    return true;
}

QString CGlossaTranslator::Translate(const char* english) const {
    const std::lock_guard lock(m_mutex);
    if (!m_translator || !english || !*english)
        return {};
    return m_translator->translate(kContext, english);
}

CGlossaTranslator::Report CGlossaTranslator::GetReport() const {
    const std::lock_guard lock(m_mutex);
    Report report;
    report.loadedFile = m_loadedFile;
    report.language = m_translator ? m_translator->language() : QString();
    report.iniFile = m_iniFile;
    report.threadCount = int(m_threads.size());
    return report;
}

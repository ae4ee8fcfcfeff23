// The process-wide sound services.
#include "audio/AudioCore.h"

#include "app/Trace.h"
#include "platform/audio/AudioTrace.h"

#include <mutex>

namespace {
// The one audio core of the process and the lock around its creation.
std::mutex g_instanceMutex;
std::unique_ptr<CAudioCore> g_instance;

void TraceBackendText(int level, const char* text) {
    Trace(level, "%s", text);
}
} // namespace

CAudioCore& CAudioCore::instance() {
    std::lock_guard lock(g_instanceMutex);
    if (!g_instance) {
        Trace(TRACE_DETAIL, "CAudioCore - creating instance");
        g_instance.reset(new CAudioCore());
    }
    return *g_instance;
}

void CAudioCore::destroyInstance() {
    std::lock_guard lock(g_instanceMutex);
    if (g_instance) {
        Trace(TRACE_DETAIL, "CAudioCore - destroying instance");
        g_instance.reset();
    }
}

CAudioCore::CAudioCore() : m_backend(CreateAudioBackend()) {
    AudioTraceSetFunction(TraceBackendText);
}

CAudioCore::~CAudioCore() {
    AudioTraceSetFunction(nullptr);
}

QStringList CAudioCore::deviceNames(AudioDirection direction) {
    QStringList names;
    for (const std::string& name : m_backend->deviceNames(direction))
        names << QString::fromStdString(name);
    return names;
}

bool CAudioCore::defaultDeviceName(AudioDirection direction, QString& name) {
    return deviceName(direction, 0, name);
}

bool CAudioCore::deviceIndex(AudioDirection direction, const QString& name, int& index) {
    index = int(deviceNames(direction).indexOf(name));
    return index >= 0;
}

bool CAudioCore::deviceName(AudioDirection direction, int index, QString& name) {
    const QStringList names = deviceNames(direction);
    if (index < 0 || index >= names.size())
        return false;
    name = names[index];
    return true;
}

std::unique_ptr<IPcmStream> CAudioCore::openStream(const QString& name, AudioDirection direction,
                                                   const WAVEFORMATEX& format, QString& error) {
    std::string why;
    std::unique_ptr<IPcmStream> stream =
        m_backend->open(name.toStdString(), direction, format, why);
    error = QString::fromStdString(why);
    return stream;
}

std::unique_ptr<IMixer> CAudioCore::openMixer(const QString& name, QString& error) {
    std::string why;
    std::unique_ptr<IMixer> mixer = m_backend->openMixer(name.toStdString(), why);
    error = QString::fromStdString(why);
    return mixer;
}

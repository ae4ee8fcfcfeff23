#include "decode/FfmpegLibrary.h"

#ifdef QUILLET_WITH_FFMPEG

#include <QFile>
#include <dlfcn.h>

namespace {
#define QUILLET_FF_SONAME(name, major) QStringLiteral("lib" name ".so." AV_STRINGIFY(major))

// The last dynamic-linker error, or fallback when there is none.
QString linkerError(const QString& fallback) {
    const char* text = dlerror();
    return text ? QString::fromLocal8Bit(text) : fallback;
}
} // namespace

QStringList CFfmpegLibrary::systemNames() {
    return {QUILLET_FF_SONAME("avformat", LIBAVFORMAT_VERSION_MAJOR),
            QUILLET_FF_SONAME("avcodec", LIBAVCODEC_VERSION_MAJOR),
            QUILLET_FF_SONAME("avutil", LIBAVUTIL_VERSION_MAJOR),
            QUILLET_FF_SONAME("swresample", LIBSWRESAMPLE_VERSION_MAJOR)};
}

const CFfmpegLibrary* CFfmpegLibrary::system(QString* error) {
    struct Loaded {
        CFfmpegLibrary library;
        QString error;
        bool ok = library.load(systemNames(), error);
    };
    static const Loaded loaded;
    if (error)
        *error = loaded.error;
    return loaded.ok ? &loaded.library : nullptr;
}

bool CFfmpegLibrary::load(const QStringList& names, QString& error) {
    *this = CFfmpegLibrary{};
    if (names.size() != kLibraryCount) {
        error = QStringLiteral("%1 library names given, %2 needed")
                    .arg(names.size())
                    .arg(kLibraryCount);
        return false;
    }
    void* handles[kLibraryCount] = {};
    const auto unload = [&handles] {
        for (void* handle : handles) {
            if (handle)
                dlclose(handle);
        }
    };
    for (int i = 0; i < kLibraryCount; ++i) {
        handles[i] = dlopen(QFile::encodeName(names[i]).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handles[i]) {
            error = linkerError(names[i] + QStringLiteral(": cannot be loaded"));
            unload();
            return false;
        }
    }
#define QUILLET_FF_RESOLVE(library, function)                                                      \
    function = reinterpret_cast<decltype(function)>(dlsym(handles[library], #function));           \
    if (!function) {                                                                               \
        error = linkerError(names[library] + QStringLiteral(": no " #function));                   \
        unload();                                                                                  \
        *this = CFfmpegLibrary{};                                                                  \
        return false;                                                                              \
    }
    QUILLET_FF_FUNCTIONS(QUILLET_FF_RESOLVE)
#undef QUILLET_FF_RESOLVE
    error.clear();
    return true;
}

QString CFfmpegLibrary::errorText(int code) const {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

#endif // QUILLET_WITH_FFMPEG

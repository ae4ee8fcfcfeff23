#include "decode/FfmpegLibrary.h"

#ifdef QUILLET_WITH_FFMPEG

#include "util/SharedFunctions.h"

#define QUILLET_FF_SONAME(name, major) QStringLiteral("lib" name ".so." AV_STRINGIFY(major))

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
                    .arg(int(kLibraryCount));
        return false;
    }
#define QUILLET_FF_ENTRY(library, name) QUILLET_SHARED_FUNCTION(*this, library, name),
    const SharedFunction functions[] = {QUILLET_FF_FUNCTIONS(QUILLET_FF_ENTRY)};
#undef QUILLET_FF_ENTRY
    if (LoadSharedFunctions(names, functions, error))
        return true;
    *this = CFfmpegLibrary{};
    return false;
}

QString CFfmpegLibrary::errorText(int code) const {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromUtf8(text);
}

#endif // QUILLET_WITH_FFMPEG

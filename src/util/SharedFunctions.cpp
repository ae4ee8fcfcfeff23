#include "util/SharedFunctions.h"

#include <QFile>
#include <cstring>
#include <dlfcn.h>
#include <vector>

namespace {
// The last dynamic-linker error, or fallback when there is none.
QString linkerError(const QString& fallback) {
    const char* text = dlerror();
    return text ? QString::fromLocal8Bit(text) : fallback;
}
} // namespace

bool LoadSharedFunctions(const QStringList& names, std::span<const SharedFunction> functions,
                         QString& error) {
    std::vector<void*> handles;
    const auto fail = [&handles, &error](const QString& why) {
        error = why;
        for (void* handle : handles)
            dlclose(handle);
        return false;
    };
    for (const QString& name : names) {
        void* handle = dlopen(QFile::encodeName(name).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            return fail(linkerError(name + QStringLiteral(": cannot be loaded")));
        handles.push_back(handle);
    }
    for (const SharedFunction& function : functions) {
        if (function.library < 0 || function.library >= int(handles.size()))
            return fail(QStringLiteral("no library for %1").arg(QLatin1String(function.name)));
        void* address = dlsym(handles[size_t(function.library)], function.name);
        if (!address)
            return fail(linkerError(names[function.library] + QStringLiteral(": no ") +
                                    QLatin1String(function.name)));
        // POSIX guarantees that a function's address survives the round trip through void*.
        std::memcpy(function.pointer, &address, sizeof address);
    }
    error.clear();
    return true;
}

// The folder and file-name helpers of the program that write what they did to the trace log.
#include "app/TracedFiles.h"

#include "app/Trace.h"
#include "util/UniqueClock.h"
#include "util/Utils.h"

#include <QDir>

bool AssureDirExists(const QString& path) {
    switch (MakeDirIfMissing(path)) {
    case DirStatus::Ready:
        return true;
    case DirStatus::CreateFailed:
        Trace(TRACE_ERROR, "AssureDirExists: Error creating dir '%s'", path);
        return false;
    case DirStatus::NotAFolder:
        Trace(TRACE_ERROR, "AssureDirExists: '%s' exists but is not a folder", path);
        return false;
    }
    return false;
}

bool GetTempFilePath(const QString& extension, QString& path) {
    const int error = MakeTempFilePath(extension, path);
    if (error != 0)
        Trace(TRACE_ERROR, "GetTempPath returned %lu, last error = %lu",
              static_cast<unsigned long>(QDir::tempPath().size()),
              static_cast<unsigned long>(error));
    return error == 0;
}

QString GetUniqueTimeBasedFileName() {
    const QString name = UniqueTimeBasedName();
    Trace(TRACE_DEBUG, "GetUniqueTimeBasedFileName(): %s", name);
    return name;
}

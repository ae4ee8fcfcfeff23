#include "web/CurlLibrary.h"

#include "util/SharedFunctions.h"

const CCurlLibrary* CCurlLibrary::system(QString* error) {
    struct Loaded {
        CCurlLibrary library;
        QString error;
        bool ok = load(library, error);

        static bool load(CCurlLibrary& library, QString& error) {
#define QUILLET_CURL_ENTRY(name) QUILLET_SHARED_FUNCTION(library, 0, name),
            const SharedFunction functions[] = {QUILLET_CURL_FUNCTIONS(QUILLET_CURL_ENTRY)};
#undef QUILLET_CURL_ENTRY
            return LoadSharedFunctions({QStringLiteral("libcurl.so.4")}, functions, error);
        }
    };
    static const Loaded loaded;
    if (error)
        *error = loaded.error;
    return loaded.ok ? &loaded.library : nullptr;
}

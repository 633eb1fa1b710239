#include "platform/Shell.h"

#include <cstdio>

#include "platform/Backend.h"
#include "platform/CodePage.h"

namespace platform {

namespace {

bool HasAllowedScheme(const std::string& url) {
    for (const char* scheme : {"http://", "https://", "mailto:"}) {
        const std::string prefix(scheme);
        if (url.size() > prefix.size() && url.compare(0, prefix.size(), prefix) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool OpenUrl(const std::string& url) {
    if (!HasAllowedScheme(url)) {
        std::fprintf(stderr, "OpenUrl: refused \"%s\"\n", url.c_str());
        return false;
    }
    return ActiveBackend().OpenUrl(Cp1252ToUtf8(url));
}

}  // namespace platform

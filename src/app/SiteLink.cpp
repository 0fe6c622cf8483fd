#include "app/SiteLink.h"

#include "core/Settings.h"
#include "platform/FileSystem.h"

namespace tamblor {

bool IsWebLink(std::string_view url) {
    auto startsWith = [&](std::string_view prefix) {
        return url.size() > prefix.size() && EqualsNoCase(url.substr(0, prefix.size()), prefix);
    };
    if (!startsWith("http://") && !startsWith("https://")) return false;
    for (unsigned char c : url) {
        if (c <= 0x20 || c == 0x7F) return false;
    }
    return true;
}

std::string ReadSiteLink(const Settings& settings) {
    std::string url = settings.ReadString("site.url", "InternetShortcut", "URL", "");
    return IsWebLink(url) ? url : std::string();
}

}  // namespace tamblor

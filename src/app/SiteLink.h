#pragma once
#include <string>
#include <string_view>

namespace tamblor {

class Settings;

// The web address of the main menu's logo: "URL" of section "InternetShortcut" in site.url. Only an
// http or https address without blanks or control characters is given; anything else is "".
std::string ReadSiteLink(const Settings& settings);
bool IsWebLink(std::string_view url);

}  // namespace tamblor

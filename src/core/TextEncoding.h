#pragma once
#include <string>
#include <string_view>

namespace tamblor {

// The game draws text one byte per character, and its font sheets hold the ISO 8859-1 (Latin-1)
// characters. Translations are kept in UTF-8 files: each UTF-8 sequence of a character up to U+00FF
// becomes that one byte. Anything else (bytes that are not valid UTF-8, as in a file saved in Latin-1
// itself, or characters beyond U+00FF) is kept byte for byte, so plain ASCII never changes.
std::string Latin1FromUtf8(std::string_view text);

}  // namespace tamblor

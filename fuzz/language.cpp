// language.ini: every key of the file is looked up through the language table, which must give what
// the INI reader finds in the language's section (as Latin-1, cut to 254 characters), and "" for
// anything else.
#include "core/Language.h"

#include <string>

#include "FuzzSupport.h"
#include "core/IniText.h"
#include "core/Log.h"
#include "core/TextEncoding.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tamblor;
    const fuzz::ScratchFolder& scratch = fuzz::Scratch();
    scratch.Empty();
    const std::string_view text = fuzz::AsText(data, size);
    scratch.Write("language.ini", text);

    FileSystem files(scratch.Path(), "");
    Log log(files);
    log.timeOfDay = [] { return std::string("00:00:00"); };
    ManualClock clock;
    Language language(files, log, clock);
    language.languageName = "ENGLISH";

    // Every name in front of an "=" (as written and trimmed), on the first lines of the file.
    int probed = 0;
    size_t pos = 0;
    while (pos < text.size() && probed < 64) {
        size_t nl = text.find('\n', pos);
        std::string_view line = text.substr(pos, (nl == std::string_view::npos ? text.size() : nl) - pos);
        pos = nl == std::string_view::npos ? text.size() : nl + 1;
        size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            continue;
        std::string_view raw = line.substr(0, eq);
        std::string_view trimmed = raw;
        while (!trimmed.empty() && (trimmed.front() == ' ' || trimmed.front() == '\t'))
            trimmed.remove_prefix(1);
        while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '\t'))
            trimmed.remove_suffix(1);
        for (std::string_view key : {raw, trimmed}) {
            ++probed;
            std::string expected = Latin1FromUtf8(IniGet(text, "ENGLISH", key).value_or(""));
            if (expected.size() > 254)
                expected.resize(254);
            const std::string& got = language.LanguageString(key);
            FUZZ_CHECK(got == expected, "the language table and the INI reader disagree on a key");
        }
    }
    FUZZ_CHECK(language.LanguageString("no such key in any file").empty(), "a missing key has a text");
    return 0;
}

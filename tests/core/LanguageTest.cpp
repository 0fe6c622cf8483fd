#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/IniText.h"
#include "core/Language.h"
#include "core/Log.h"
#include "core/TextEncoding.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"

namespace tamblor {
namespace {

using test::TempDir;

TEST(TextEncoding, Latin1FromUtf8KeepsAsciiAndWhatItCannotMap) {
    struct Case {
        std::string in, out;
    };
    const std::vector<Case> cases = {
        {"Plain ASCII ~", "Plain ASCII ~"},
        {"Gr\xC3\xBC\xC3\x9F", "Gr\xFC\xDF"},              // Grüß
        {"\xC3\x89t\xC3\xA9 \xC3\xA0", "\xC9t\xE9 \xE0"},  // Été à
        {"\xC2\xA0\xC2\xBF", "\xA0\xBF"},                  // first and last of C2
        {"Gr\xFC\xDF", "Gr\xFC\xDF"},                      // already Latin-1: kept
        {"\xC3", "\xC3"},                                  // cut sequence at the end
        {"\xC3(", "\xC3("},                                // lead without continuation
        {"\xE2\x82\xAC", "\xE2\x82\xAC"},                  // beyond U+00FF: bytes kept
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(Latin1FromUtf8(c.in), c.out) << c.in;
}

TEST(Language, LooksUpCurrentSectionAndSeesChanges) {
    TempDir user;
    FileSystem fs(user.Path(), "");
    Log log(fs);
    ManualClock clock;
    Language language(fs, log, clock);
    language.languageName = "english";
    // No file yet: no texts, and the file is looked for again at the next check.
    EXPECT_EQ(language.LanguageString("HELLO"), "");
    user.Write("language.ini",
               "[ENGLISH]\r\nHello = \"Hi there\"\r\nhint=English\\hint1.png\r\n[GERMAN]\r\nHello=Hallo\r\n");
    clock.Advance(Language::kCheckIntervalMs);
    EXPECT_EQ(language.LanguageString("HELLO"), "Hi there");
    EXPECT_EQ(language.LanguageString("hint"), "English\\hint1.png");
    EXPECT_EQ(language.LanguageString("missing"), "");
    EXPECT_EQ(language.LanguageString(""), "");
    language.languageName = "GERMAN";
    EXPECT_EQ(language.LanguageString("Hello"), "Hallo");
    // Between checks a lookup does not touch the disk; a check is one stat.
    uint64_t before = fs.DiskOperations();
    for (int i = 0; i < 10; ++i) EXPECT_EQ(language.LanguageString("hello"), "Hallo");
    EXPECT_EQ(fs.DiskOperations(), before);
    clock.Advance(Language::kCheckIntervalMs);
    EXPECT_EQ(language.LanguageString("Hello"), "Hallo");
    EXPECT_EQ(fs.DiskOperations(), before + 1);

    // The languages on offer, in the file's order, and the choice that follows each.
    std::string longAccented;
    for (int i = 0; i < 200; ++i) longAccented += "\xC3\xA9";  // 200 letters, 400 bytes of UTF-8
    user.Write("language.ini",
               "\xEF\xBB\xBF[ENGLISH]\r\nHello=Hi\r\n; [NOT A SECTION]\r\n[ GERMAN ]\r\nHello=Gr\xC3\xBC\xC3\x9F "
               "dich\r\nLong=" + longAccented + "\r\n[french]\r\n[English]\r\n[]\r\n");
    EXPECT_EQ(language.LanguageNames(), (std::vector<std::string>{"ENGLISH", "GERMAN", "french"}));
    clock.Advance(Language::kCheckIntervalMs);
    EXPECT_EQ(language.LanguageString("Hello"), "Gr\xFC\xDF dich")
        << "UTF-8 texts come back one byte a letter";
    EXPECT_EQ(language.LanguageString("Long"), std::string(200, '\xE9')) << "the limit counts letters";
    EXPECT_EQ(language.NextLanguageName(), "french");
    language.languageName = "FRENCH";
    EXPECT_EQ(language.NextLanguageName(), "ENGLISH") << "the first follows the last";
    language.languageName = "KLINGON";
    EXPECT_EQ(language.NextLanguageName(), "ENGLISH");
    user.Write("language.ini", "no sections at all\n");
    EXPECT_TRUE(language.LanguageNames().empty());
    EXPECT_EQ(language.NextLanguageName(), "KLINGON") << "nothing else on offer: the language stays";

    language.languageName.clear();
    EXPECT_EQ(language.LanguageString("Hello"), "");
    EXPECT_NE(user.Read("app.log").find("Warning: language not defined in 'config.ini'"), std::string::npos);
}

TEST(Language, SeesAnEditOnDiskAtTheNextCheck) {
    struct Case {
        const char* what;
        bool checkOnEveryLookup;
        uint32_t editShowsAfterMs;     // of the clock, counted from the last check
        bool seesNewFileInUserFolder;  // the name is resolved again, not only the known path stat'ed
    };
    const Case cases[] = {
        {"held in memory, the file read from checked once a second", false, Language::kCheckIntervalMs,
         false},
        {"the name resolved and stat'ed on every lookup", true, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir user, data;
        data.Write("language.ini", "[GERMAN]\nHello=Hallo\n");
        FileSystem fs(user.Path(), data.Path());
        fs.RememberMisses(false);  // every resolution looks in the user folder: only the language differs
        Log log(fs);
        ManualClock clock;
        Language language(fs, log, clock);
        language.CheckOnEveryLookup(c.checkOnEveryLookup);
        language.languageName = "GERMAN";
        EXPECT_EQ(language.LanguageString("Hello"), "Hallo");
        // An edit of the file the texts came from.
        data.Write("language.ini", "[GERMAN]\nHello=Guten Tag, neu geschrieben\n");
        if (c.editShowsAfterMs > 0) {
            clock.Advance(c.editShowsAfterMs - 1);
            EXPECT_EQ(language.LanguageString("Hello"), "Hallo");
            clock.Advance(1);
        }
        EXPECT_EQ(language.LanguageString("Hello"), "Guten Tag, neu geschrieben");

        // A file of that name that appears in the user folder, ahead of the data folder.
        user.Write("language.ini", "[GERMAN]\nHello=Servus\n");
        clock.Advance(c.editShowsAfterMs);
        EXPECT_EQ(language.LanguageString("Hello"),
                  c.seesNewFileInUserFolder ? "Servus" : "Guten Tag, neu geschrieben");
    }
}

TEST(Language, ReadsKeysAndSectionsAsTheSettingsReaderDoes) {
    // A byte-order mark counts at the start of the file only; inside, it is part of the line.
    const std::string text =
        "\xEF\xBB\xBF[ENGLISH]\r\nA=1\r\n\xEF\xBB\xBF"
        "B=2\r\nC = \"3\" \r\n"
        "\xEF\xBB\xBF[GERMAN]\r\nA=eins\r\n";
    TempDir user;
    user.Write("language.ini", text);
    FileSystem fs(user.Path(), "");
    Log log(fs);
    ManualClock clock;
    Language language(fs, log, clock);
    language.languageName = "ENGLISH";
    for (const char* key : {"A", "B",
                            "\xEF\xBB\xBF"
                            "B",
                            "C"}) {
        EXPECT_EQ(language.LanguageString(key), IniGet(text, "ENGLISH", key).value_or("")) << key;
    }
    EXPECT_EQ(language.LanguageString("A"), "1");
    EXPECT_EQ(language.LanguageString("B"), "");
    EXPECT_EQ(language.LanguageNames(), std::vector<std::string>{"ENGLISH"});
}

}  // namespace
}  // namespace tamblor

// The languages of the built game folder: every language has every key, its texts use only letters
// the font sheet has, and every text a screen draws fits its widget, measured with the font's widths.
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "content/GameFolder.h"
#include "core/Language.h"
#include "core/Log.h"
#include "core/Settings.h"
#include "core/TextEncoding.h"
#include "graphics/Graphics.h"
#include "graphics/RecordingRenderDevice.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/gl/SdlImageDecoder.h"

namespace tamblor {
namespace {

using test::GameDir;
using test::GamePath;
using test::ReadGameFile;

// Every section of language.ini as key -> raw (UTF-8) value, comments skipped.
std::map<std::string, std::map<std::string, std::string>> LanguageSections() {
    std::map<std::string, std::map<std::string, std::string>> sections;
    std::istringstream in(ReadGameFile("language.ini"));
    std::string line, section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            section = line.substr(1, line.find(']') - 1);
            sections[section];
            continue;
        }
        size_t eq = line.find('=');
        if (eq != std::string::npos)
            sections[section][line.substr(0, eq)] = line.substr(eq + 1);
    }
    return sections;
}

bool IsFontKey(const std::string& key) {
    return key == "SymbolList" || key.rfind("Line0", 0) == 0;
}

TEST(ContentLanguage, EveryLanguageHasEveryKeyInLettersTheFontHas) {
    auto sections = LanguageSections();
    ASSERT_EQ(sections.size(), 3u);
    ASSERT_TRUE(sections.count("ENGLISH") && sections.count("GERMAN") && sections.count("FRENCH"));
    const auto& english = sections.at("ENGLISH");
    EXPECT_GT(english.size(), 100u);

    for (const auto& [name, entries] : sections) {
        SCOPED_TRACE(name);
        // One font sheet for every language: the same symbols and widths in each section.
        for (const auto& [key, value] : english) {
            if (IsFontKey(key)) {
                EXPECT_EQ(entries.count(key) ? entries.at(key) : "", value) << key;
            }
        }
        std::string symbols = Latin1FromUtf8(entries.count("SymbolList") ? entries.at("SymbolList") : "");
        ASSERT_EQ(symbols.size(), 126u);
        EXPECT_EQ(symbols.find(' '), 93u) << "the blank sits away from both ends of the value";
        EXPECT_EQ(symbols.front(), '!');
        for (const char* letters :
             {"\xE4\xF6\xFC\xC4\xD6\xDC\xDF", "\xE9\xE8\xEA\xE0\xE7\xC9\xC8\xCA\xC0\xC7"}) {
            for (const char* c = letters; *c; ++c)
                EXPECT_NE(symbols.find(*c), std::string::npos) << int(*c & 0xFF);
        }
        for (int row = 1; row <= 8; ++row) {
            std::stringstream ss(entries.count("Line0" + std::to_string(row) + "_Width")
                                     ? entries.at("Line0" + std::to_string(row) + "_Width")
                                     : "");
            int count = 0;
            for (std::string piece; std::getline(ss, piece, ',');) {
                double w = std::strtod(piece.c_str(), nullptr);
                if ((row - 1) * 16 + count < static_cast<int>(symbols.size())) {
                    EXPECT_GT(w, 0) << row << "/" << count;
                }
                EXPECT_LE(w, 16);
                ++count;
            }
            EXPECT_EQ(count, 16) << "row " << row;
        }

        for (const auto& [key, value] : english) {
            if (!entries.count(key))
                ADD_FAILURE() << "no " << key;
        }
        for (const auto& [key, raw] : entries) {
            if (IsFontKey(key))
                continue;
            SCOPED_TRACE(key);
            EXPECT_TRUE(english.count(key)) << "a key English does not have";
            std::string value = Latin1FromUtf8(raw);
            EXPECT_FALSE(value.empty());
            EXPECT_LE(value.size(), 254u);
            for (char c : value)
                EXPECT_NE(symbols.find(c), std::string::npos) << "'" << c << "' is not in the font";
            // Numbers and formatted values are drawn through the same lookup and must never match a key.
            EXPECT_NE(key.find_first_not_of("0123456789"), std::string::npos) << "a number as a key";
            EXPECT_NE(key.rfind("Level: ", 0), 0u);
            EXPECT_NE(key.rfind("Score: ", 0), 0u);
        }
    }
}

// Measures texts exactly as the game draws them: the real font sheet and the widths of language.ini,
// on an 800 x 600 recording device.
struct TextMeasure {
    TextMeasure()
        : files(user.Path(), GameDir()),
          settings(files, log),
          log(files),
          language(files, log, clock),
          device(800, 600),
          graphics(files, settings, language, log, clock, decoder) {
        language.languageName = "ENGLISH";
        graphics.AttachDevice(device);
        graphics.LoadSymbolWidths("Graphics\\font01.png");
    }
    test::TempDir user;
    FileSystem files;
    Settings settings;
    Log log;
    Language language;
    ManualClock clock;
    SdlImageDecoder decoder;
    RecordingRenderDevice device;
    Graphics graphics;
};

struct Box {
    float left, top, right, bottom;
    bool Holds(float x, float y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    float Area() const { return (right - left) * (bottom - top); }
};

float Attribute(const tinyxml2::XMLElement* e, const char* name) {
    return e->FloatAttribute(name);
}
std::string Text(const tinyxml2::XMLElement* e, const char* name) {
    const char* v = e->Attribute(name);
    return v ? v : "";
}

TEST(ContentLanguage, EveryScreenTextFitsItsWidgetInEveryLanguage) {
    TextMeasure measure;
    ASSERT_NE(measure.graphics.FontTexture(), nullptr);
    // The measure itself: a cell is 0.75 of its height wide on 800 x 600, and a symbol's width is
    // counted in sixteenths of a cell.
    const float cell = measure.graphics.FontCellWidth(0.04f);
    EXPECT_FLOAT_EQ(cell, 0.03f);
    const int m = measure.graphics.SymbolIndex('m');
    EXPECT_FLOAT_EQ(measure.graphics.StringWidth(0.04f, "mm"), 2 * cell * measure.graphics.SymbolWidth(m));
    const std::vector<std::string> languages = measure.language.LanguageNames();
    ASSERT_EQ(languages.size(), 3u);
    // Room left between a text and its widget's edge (a fraction of the screen width).
    constexpr float kMargin = 0.01f;

    std::vector<std::string> screens;
    for (const auto& name : measure.files.ListFolder("", "menu-*.xml")) screens.push_back(name);
    ASSERT_GE(screens.size(), 17u);
    for (const std::string& language : languages) {
        measure.language.languageName = language;
        for (const std::string& file : screens) {
            SCOPED_TRACE(language + " " + file);
            tinyxml2::XMLDocument doc;
            ASSERT_EQ(doc.LoadFile(GamePath(file).c_str()), tinyxml2::XML_SUCCESS);
            const tinyxml2::XMLElement* screen = doc.FirstChildElement("Screen");
            ASSERT_NE(screen, nullptr);
            // Panels: the stretched pictures; a text belongs to the smallest one around its anchor.
            std::vector<Box> panels;
            for (auto* i = screen->FirstChildElement("Image"); i; i = i->NextSiblingElement("Image")) {
                float w = Attribute(i, "width"), h = Attribute(i, "height");
                if (Text(i, "stretch") == "no" || w <= 0 || h <= 0)
                    continue;
                float x = Attribute(i, "xc"), y = Attribute(i, "yc");
                panels.push_back({x - w / 2, y - h / 2, x + w / 2, y + h / 2});
            }
            auto within = [&](float x, float y) {
                Box best{0, 0, 1, 1};
                for (const Box& b : panels) {
                    if (b.Holds(x, y) && b.Area() < best.Area())
                        best = b;
                }
                return best;
            };
            auto check = [&](const std::string& key, float left, float right, Box room, const char* what) {
                if (left < room.left + kMargin || right > room.right - kMargin) {
                    ADD_FAILURE() << what << " '" << key << "' spans " << left << " .. " << right << ", room "
                                  << room.left + kMargin << " .. " << room.right - kMargin;
                }
            };
            for (auto* t = screen->FirstChildElement("Text"); t; t = t->NextSiblingElement("Text")) {
                std::string key = Text(t, "text");
                if (key.empty() || key.find(".png") != std::string::npos)
                    continue;
                float x = Attribute(t, "xc"), y = Attribute(t, "yc");
                float w = measure.graphics.StringWidth(Attribute(t, "size"), key);
                std::string align = Text(t, "align");
                float left = align == "left" ? x : align == "right" ? x - w : x - w / 2;
                check(key, left, left + w, within(x, y), "text");
            }
            for (auto* b = screen->FirstChildElement("Button"); b; b = b->NextSiblingElement("Button")) {
                std::string key = Text(b, "text");
                if (key.empty() || key.find(".png") != std::string::npos || Text(b, "stretch") == "no")
                    continue;
                float x = Attribute(b, "xc"), y = Attribute(b, "yc"), bw = Attribute(b, "width");
                float w = measure.graphics.StringWidth(0.04f, key);
                std::string align = Text(b, "align");
                if (align == "left") {
                    check(key, x + bw, x + bw + w, within(x, y), "label");
                } else if (align == "right") {
                    check(key, x - bw - w, x - bw, within(x, y), "label");
                } else {
                    check(key, x - w / 2, x + w / 2, Box{x - bw / 2, 0, x + bw / 2, 1}, "button text");
                }
            }
        }
    }
}

}  // namespace
}  // namespace tamblor

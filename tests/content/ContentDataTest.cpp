// Cross-checks the hand-written data of the built game folder: screens, classes, levels, texts and
// sound events, and that every picture and sound they name exists under exactly that name.
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/IniText.h"
#include "content/GameFolder.h"

namespace tamblor {
namespace {

using test::GameFileExists;
using test::GamePath;
using test::ReadGameFile;

const char* kScreens[17] = {"menu-main.xml", "menu-game-over.xml", "menu-highscores.xml", "menu-ingame.xml",
                            "menu-pause.xml", "menu-options.xml", "menu-map.xml", "menu-info-classic.xml",
                            "menu-info-relax.xml", "menu-info-transformer.xml", "menu-clear-confirmation.xml",
                            "menu-continue-confirmation.xml", "menu-game-complete.xml", "menu-instructions.xml",
                            "menu-instructions2.xml", "menu-instructions3.xml", "menu-intro.xml"};

// The actions each screen's state reacts to; a button with any other action would do nothing.
const std::map<std::string, std::set<std::string>> kActions = {
    {"menu-main.xml", {"procClassicGame", "procRelaxGame", "procTransformerGame", "procInstructions",
                       "procHighScores", "procOptions", "procExit"}},
    {"menu-map.xml", {"procStart", "procStage1", "procStage2", "procStage3", "procStage4", "procStage5",
                      "procStage6", "procStage7", "procBack"}},
    {"menu-instructions.xml", {"procNext", "procClose"}},
    {"menu-instructions2.xml", {"procPrevious", "procNext", "procClose"}},
    {"menu-instructions3.xml", {"procPrevious", "procClose"}},
    {"menu-ingame.xml", {"procMenu", "procDiscard"}},
    {"menu-pause.xml", {"procResume", "procOptions", "procEnd"}},
    {"menu-highscores.xml", {"procPrevious", "procNext", "procClear", "procClose"}},
    {"menu-options.xml", {"procFullScreenMode", "procSoundMode", "procMusicMode", "procLanguage", "procClose"}},
    {"menu-game-over.xml", {"procContinue", "procExit"}},
    {"menu-game-complete.xml", {"procMenu"}},
    {"menu-clear-confirmation.xml", {"procYes", "procNo"}},
    {"menu-continue-confirmation.xml", {"procLoad", "procNew", "procCancel"}},
    {"menu-info-classic.xml", {}},
    {"menu-info-relax.xml", {}},
    {"menu-info-transformer.xml", {}},
    {"menu-intro.xml", {}},
};

const char* kPlayedEvents[] = {"take_shape",      "place_shape",     "place_shape_bonus_1", "place_shape_bonus_2",
                               "place_shape_bonus_3", "place_shape_bonus_4", "place_shape_bonus_5",
                               "place_shape_bonus_6", "place_shape_bonus_7", "drop_shape", "delete_shape",
                               "shape_clear",     "remove_line",     "fill_area",  "no_bonus", "bug_alarm",
                               "shape_chomp",     "transform_shape", "timeout",    "shape_panel_in",
                               "shape_panel_out", "emit_scores",     "collect_scores", "level_start",
                               "level_complete",  "bonus_level_complete", "game_over", "game_complete", "type_01"};

std::string Attr(const tinyxml2::XMLElement* e, const char* name) {
    const char* v = e->Attribute(name);
    return v ? v : "";
}

// The ENGLISH section of language.ini as key -> value, read line by line.
std::map<std::string, std::string> LanguageEntries() {
    std::map<std::string, std::string> entries;
    std::istringstream in(ReadGameFile("language.ini"));
    std::string line, section;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            section = line.substr(1, line.find(']') - 1);
            continue;
        }
        size_t eq = line.find('=');
        if (section == "ENGLISH" && eq != std::string::npos) entries[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return entries;
}

struct ScreenCheck {
    std::vector<std::string> problems;
    void Need(bool ok, const std::string& what) {
        if (!ok) problems.push_back(what);
    }
};

TEST(ContentScreens, EveryScreenHasItsWidgetsActionsAndPictures) {
    auto language = LanguageEntries();
    for (const char* file : kScreens) {
        SCOPED_TRACE(file);
        tinyxml2::XMLDocument doc;
        ASSERT_EQ(doc.LoadFile(GamePath(file).c_str()), tinyxml2::XML_SUCCESS);
        const tinyxml2::XMLElement* screen = doc.FirstChildElement("Screen");
        ASSERT_NE(screen, nullptr);
        ASSERT_EQ(doc.RootElement(), screen) << "Screen must be the document's first element";
        ScreenCheck check;
        auto picture = [&](const std::string& name, const std::string& where) {
            if (name.empty()) return;
            check.Need(name.size() <= 39, where + " name longer than 39 characters: " + name);
            check.Need(GameFileExists(name), where + " names a missing picture: " + name);
        };
        auto field = [&](const std::string& v, const std::string& where) {
            check.Need(v.size() <= 39, where + " longer than 39 characters: " + v);
        };
        picture(Attr(screen, "bgImage"), "bgImage");
        for (const char* sound : {"clickSound", "overSound"}) {
            std::string s = Attr(screen, sound);
            if (!s.empty()) check.Need(GameFileExists(s), std::string(sound) + " missing: " + s);
        }
        std::set<std::string> actions;
        std::vector<const tinyxml2::XMLElement*> buttons;
        for (auto* b = screen->FirstChildElement("Button"); b; b = b->NextSiblingElement("Button")) {
            buttons.push_back(b);
            std::string action = Attr(b, "action");
            actions.insert(action);
            check.Need(kActions.at(file).count(action) == 1, "button with an action this screen ignores: " + action);
            for (const char* img : {"outImg", "overImg", "outImgChecked", "overImgChecked"}) picture(Attr(b, img), img);
            for (const char* f : {"name", "text", "align", "stretch", "action"}) field(Attr(b, f), f);
            std::string text = Attr(b, "text");
            if (!text.empty() && text.find(".png") == std::string::npos) {
                bool literal = text.size() == 1 && text[0] >= '1' && text[0] <= '7';
                check.Need(literal || language.count(text), "button text without a language key: " + text);
            }
            // Stretched buttons need a size; the hit box is taken from it.
            if (Attr(b, "stretch") != "no") {
                check.Need(b->FloatAttribute("width") > 0 && b->FloatAttribute("height") > 0,
                           "button without width and height: " + Attr(b, "name"));
            }
        }
        for (auto* s = screen->FirstChildElement("Slider"); s; s = s->NextSiblingElement("Slider")) {
            actions.insert(Attr(s, "action"));
            for (const char* img :
                 {"outSliderImg", "overSliderImg", "fillSliderImg", "outThumbImg", "overThumbImg"}) {
                check.Need(!Attr(s, img).empty(), std::string("slider without ") + img);
                picture(Attr(s, img), img);
            }
        }
        for (auto* i = screen->FirstChildElement("Image"); i; i = i->NextSiblingElement("Image")) {
            picture(Attr(i, "img"), "Image");
        }
        std::map<std::string, const tinyxml2::XMLElement*> anchors;
        for (auto* t = screen->FirstChildElement("Text"); t; t = t->NextSiblingElement("Text")) {
            std::string text = Attr(t, "text");
            check.Need(text.size() <= 99, "text longer than 99 characters");
            if (!Attr(t, "name").empty()) anchors[Attr(t, "name")] = t;
            if (!text.empty() && text != "->") {
                check.Need(language.count(text) == 1, "text without a language key: " + text);
            }
            if (!text.empty()) check.Need(t->FloatAttribute("size") > 0, "text without a size: " + text);
        }
        // Every action the state needs is reachable.
        for (const std::string& needed : kActions.at(file)) {
            check.Need(actions.count(needed) == 1, "no widget carries " + needed);
        }
        std::string f = file;
        auto anchor = [&](const char* name) {
            auto it = anchors.find(name);
            check.Need(it != anchors.end() && Attr(it->second, "text").empty() && it->second->FloatAttribute("size") > 0,
                       std::string("anchor missing, drawn or without a size: ") + name);
        };
        if (f == "menu-main.xml") {
            for (const char* name : {"btnClassicGame", "btnRelaxGame", "btnTransformerGame"}) {
                bool found = false;
                for (auto* b : buttons) found = found || Attr(b, "name") == name;
                check.Need(found, std::string("missing ") + name);
            }
        }
        if (f == "menu-map.xml") {
            // Button 0 starts; buttons 1 to 7 are the stages, in order, with an explicit size for the
            // locked-stage picture; a Back button follows them.
            check.Need(buttons.size() >= 8, "the map needs Start and seven stages first");
            bool back = false;
            for (size_t i = 8; i < buttons.size(); ++i)
                back = back || Attr(buttons[i], "action") == "procBack";
            check.Need(back, "the map needs a Back button after its stages");
            if (buttons.size() >= 8) {
                check.Need(Attr(buttons[0], "action") == "procStart", "button 0 must start");
                for (int s = 1; s <= 7; ++s) {
                    check.Need(Attr(buttons[s], "name") == "btnStage" + std::to_string(s), "stage button name order");
                    check.Need(Attr(buttons[s], "action") == "procStage" + std::to_string(s), "stage action order");
                    check.Need(Attr(buttons[s], "stretch").empty(), "stage buttons must be stretched");
                }
            }
        }
        if (f == "menu-ingame.xml") {
            for (const char* name : {"txtLevelNum", "txtTimeNum", "txtScoreNum", "txtMeterBar"}) anchor(name);
        }
        if (f == "menu-highscores.xml") {
            anchor("txtGameType");
            anchor("txtEntryHint");
        }
        if (f == "menu-continue-confirmation.xml") {
            anchor("txtLevelNum");
            anchor("txtScoreNum");
        }
        if (f == "menu-options.xml") {
            bool box = false;
            for (auto* b : buttons) {
                box = box || (Attr(b, "name") == "btnFullScreen" && Attr(b, "action") == "procFullScreenMode" &&
                              !Attr(b, "outImgChecked").empty());
            }
            check.Need(box, "btnFullScreen check box");
            std::set<std::string> sliders;
            for (auto* s = screen->FirstChildElement("Slider"); s; s = s->NextSiblingElement("Slider")) {
                sliders.insert(Attr(s, "name") + "/" + Attr(s, "action"));
            }
            check.Need(sliders.count("SfxVolume/procSoundMode") && sliders.count("MusicVolume/procMusicMode"),
                       "volume sliders");
        }
        for (const std::string& p : check.problems) ADD_FAILURE() << p;
    }
}

TEST(ContentClasses, SixteenClassesWithFourShapesAndTheirPictures) {
    tinyxml2::XMLDocument doc;
    ASSERT_EQ(doc.LoadFile(GamePath("classes.xml").c_str()), tinyxml2::XML_SUCCESS);
    const tinyxml2::XMLElement* level = doc.RootElement();
    ASSERT_NE(level, nullptr);
    ASSERT_STREQ(level->Name(), "Level");
    std::string sound = ReadGameFile("sound.ini");
    std::set<std::string> names;
    int classes = 0;
    for (auto* c = level->FirstChildElement("ShapeClass"); c; c = c->NextSiblingElement("ShapeClass")) {
        ++classes;
        std::string name = Attr(c, "name");
        SCOPED_TRACE(name);
        EXPECT_FALSE(name.empty());
        EXPECT_EQ(name.find_first_of(", "), std::string::npos) << "class names are split at commas";
        EXPECT_TRUE(names.insert(name).second) << "duplicate class name";
        EXPECT_NE(sound.find("[" + Attr(c, "soundEvent") + "]\n"), std::string::npos) << "class sound event";
        int shapes = 0;
        std::set<std::string> pictures;
        for (auto* s = c->FirstChildElement("Shape"); s; s = s->NextSiblingElement("Shape")) {
            ++shapes;
            for (const char* attr : {"mainImage", "maskImage"}) {
                std::string img = Attr(s, attr);
                EXPECT_TRUE(GameFileExists(img)) << img;
                EXPECT_LE(img.size(), 39u) << img;
                EXPECT_TRUE(pictures.insert(img).second) << "picture used twice in a class: " << img;
            }
        }
        EXPECT_GE(shapes, 2) << "the transformer tutorial asks for shape 1";
        EXPECT_LE(shapes, 10);
    }
    EXPECT_GE(classes, 15) << "the game-complete sequence shows classes 0 to 14";
    EXPECT_LE(classes, 30);
}

TEST(ContentLevels, FortyTwoLevelsCarryEveryAttribute) {
    tinyxml2::XMLDocument classesDoc;
    ASSERT_EQ(classesDoc.LoadFile(GamePath("classes.xml").c_str()), tinyxml2::XML_SUCCESS);
    std::set<std::string> classNames;
    for (auto* c = classesDoc.RootElement()->FirstChildElement("ShapeClass"); c;
         c = c->NextSiblingElement("ShapeClass")) {
        classNames.insert(Attr(c, "name"));
    }
    const char* numeric[] = {"newShapeTime", "levelTime",        "shapeClassCount",  "lineSpeed",
                             "fBugAppearanceRange", "lineShapeCount", "fBonusAnyShapeP", "fBonusBandP",
                             "fBonusAreaP"};
    for (int n = 1; n <= 42; ++n) {
        SCOPED_TRACE("level " + std::to_string(n));
        std::string name = "Levels\\level_" + std::to_string(n) + ".xml";
        tinyxml2::XMLDocument doc;
        ASSERT_EQ(doc.LoadFile(GamePath(name).c_str()), tinyxml2::XML_SUCCESS);
        const tinyxml2::XMLElement* map = doc.RootElement();
        ASSERT_NE(map, nullptr);
        ASSERT_STREQ(map->Name(), "LevelMap");
        for (const char* attr : numeric) {
            const char* v = map->Attribute(attr);
            ASSERT_NE(v, nullptr) << attr;
            char* end = nullptr;
            double value = std::strtod(v, &end);
            EXPECT_TRUE(end != v && *end == '\0') << attr << "=" << v;
            EXPECT_GE(value, 0) << attr;
        }
        EXPECT_GT(map->DoubleAttribute("levelTime"), 0);
        EXPECT_GT(map->DoubleAttribute("fBugAppearanceRange"), 0) << "0 would send a bug every frame";
        EXPECT_GT(map->DoubleAttribute("lineSpeed"), 0);
        int cells = map->IntAttribute("lineShapeCount");
        EXPECT_GE(cells, 6) << "fewer cells per line would pop in inside the visible board";
        EXPECT_LE(cells * 6, 180);
        for (const char* p : {"fBonusAnyShapeP", "fBonusBandP", "fBonusAreaP"}) EXPECT_LE(map->DoubleAttribute(p), 1.0);
        bool bonus = Attr(map, "bonusLevel") == "true";
        EXPECT_EQ(bonus, n % 6 == 0) << "the last level of every stage is the bonus level";
        if (map->Attribute("bonusLevel")) {
            EXPECT_EQ(Attr(map, "bonusLevel"), "true");
        }
        if (bonus) {
            EXPECT_EQ(map->IntAttribute("levelTime"), 999);
        }
        std::vector<std::string> list;
        std::stringstream ss(Attr(map, "shapeClassList"));
        for (std::string item; std::getline(ss, item, ',');) list.push_back(item);
        int count = map->IntAttribute("shapeClassCount");
        EXPECT_GE(count, 1);
        EXPECT_EQ(static_cast<int>(list.size()), count) << "every slot is named";
        EXPECT_LE(list.size(), 15u);
        std::set<std::string> distinct;
        for (const std::string& item : list) {
            EXPECT_EQ(classNames.count(item), 1u) << "unknown class " << item;
            EXPECT_TRUE(distinct.insert(item).second) << "class named twice: " << item;
        }
    }
    EXPECT_FALSE(GameFileExists("Levels\\level_43.xml")) << "the missing level 43 is what ends the game";
}

// The level curve asks something of the player: about one panel shape in seven carries a bonus in
// the first stage and fewer later, and from level 4 on the bug is due well inside the level's time.
// Bonus levels are the reward at the end of a stage and keep their own rules.
TEST(ContentLevels, BonusesGetRarerAndTheBugComesFromLevelFour) {
    double previousShare = 1.0;
    for (int n = 1; n <= 42; ++n) {
        SCOPED_TRACE("level " + std::to_string(n));
        tinyxml2::XMLDocument doc;
        ASSERT_EQ(doc.LoadFile(GamePath("Levels\\level_" + std::to_string(n) + ".xml").c_str()),
                  tinyxml2::XML_SUCCESS);
        const tinyxml2::XMLElement* map = doc.RootElement();
        ASSERT_NE(map, nullptr);
        if (Attr(map, "bonusLevel") == "true")
            continue;
        // The panel rolls for an any-shape, a band and an area bonus in that order; a later hit
        // replaces an earlier one, so a shape is plain only when all three rolls miss.
        double share = 1.0 - (1.0 - map->DoubleAttribute("fBonusAnyShapeP")) *
                                 (1.0 - map->DoubleAttribute("fBonusBandP")) *
                                 (1.0 - map->DoubleAttribute("fBonusAreaP"));
        if (n <= 5) {
            EXPECT_GT(share, 1.0 / 9) << "about one shape in seven";
            EXPECT_LT(share, 1.0 / 5.5) << "about one shape in seven";
        }
        EXPECT_LE(share, previousShare + 1e-9) << "bonuses never get more frequent";
        previousShare = share;
        if (n >= 4) {
            // The range counts from the level's start, which the announcement takes about 5 s of.
            double range = map->DoubleAttribute("fBugAppearanceRange");
            EXPECT_LE(range + 5.0, map->DoubleAttribute("levelTime") / 2) << "the bug comes before half time";
        }
    }
    EXPECT_LT(previousShare, 0.1) << "the last stage has fewer bonuses than the first";
}

TEST(ContentSounds, EveryEventHasASectionWithFilesThatExist) {
    std::string ini = ReadGameFile("sound.ini");
    EXPECT_EQ(ini.find('\r'), std::string::npos) << "a CR would stay in the event names";
    std::istringstream in(ini);
    std::set<std::string> sections;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] != '[') continue;
        EXPECT_EQ(line.back(), ']') << line;
        EXPECT_EQ(line.find(' '), std::string::npos) << "the event name ends at the first blank: " << line;
        EXPECT_LE(line.size() - 2, 59u);
        EXPECT_TRUE(sections.insert(line.substr(1, line.size() - 2)).second) << "duplicate event " << line;
    }
    EXPECT_LE(sections.size(), 100u);
    std::vector<std::string> events(std::begin(kPlayedEvents), std::end(kPlayedEvents));
    for (int k = 0; k < 16; ++k) {
        char name[16];
        std::snprintf(name, sizeof name, "class_%02d", k);
        events.push_back(name);
    }
    for (const std::string& event : events) {
        SCOPED_TRACE(event);
        EXPECT_EQ(sections.count(event), 1u);
        auto volume = IniGet(ini, event, "volume");
        if (volume) {
            double v = std::strtod(volume->c_str(), nullptr);
            EXPECT_GT(v, 0);
            EXPECT_LE(v, 1);
        }
        auto first = IniGet(ini, event, "file0");
        ASSERT_TRUE(first.has_value());
        for (int i = 0; i < 10; ++i) {
            auto file = IniGet(ini, event, "file" + std::to_string(i));
            if (!file) break;
            EXPECT_EQ(file->rfind("Sound\\", 0), 0u) << *file;
            EXPECT_LE(file->size(), 59u);
            EXPECT_TRUE(GameFileExists(*file)) << *file;
        }
    }
    for (const char* file : {"Sound\\click.wav", "Sound\\over.wav"}) EXPECT_TRUE(GameFileExists(file));
}

TEST(ContentConfig, DefaultConfigStartsWithoutTheSetupDialog) {
    std::string config = ReadGameFile("config.ini");
    EXPECT_EQ(IniGet(config, "LANGUAGE", "Name").value_or(""), "ENGLISH");
    EXPECT_EQ(IniGet(config, "VIDEO", "Mode").value_or(""), "800 x 600 - 32 bit");
    EXPECT_EQ(IniGet(config, "GAMEPLAY", "LastOpenedLevel").value_or(""), "1");
    EXPECT_FALSE(IniGet(ReadGameFile("language.ini"), "ENGLISH", "MainHint").value_or("").empty());
}

}  // namespace
}  // namespace tamblor

#include <tinyxml2.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "core/CoreServices.h"
#include "core/IniText.h"
#include "core/Log.h"
#include "core/Random.h"
#include "game/Game.h"
#include "game/TextureFinder.h"
#include "platform/FileSystem.h"
#include "screens/EffectList.h"

namespace tamblor {

namespace {

constexpr size_t kMaxXmlBytes = 4u * 1024u * 1024u;
constexpr int kMaxClassNames = 15;
constexpr float kFloatLimit = 1.0e9f;

bool ParseXmlFile(const FileSystem& files, std::string_view name, tinyxml2::XMLDocument& doc) {
    std::string text;
    if (!files.ReadFile(name, text, kMaxXmlBytes))
        return false;
    return doc.Parse(text.data(), text.size()) == tinyxml2::XML_SUCCESS;
}

// A numeric attribute: the leading decimal number of its text, 0 when absent, kept finite.
float FloatAttribute(const tinyxml2::XMLElement& e, const char* name) {
    const char* text = e.Attribute(name);
    if (!text)
        return 0.0f;
    double v = ParseDecimalPrefix(text);
    return static_cast<float>(
        std::clamp(v, -static_cast<double>(kFloatLimit), static_cast<double>(kFloatLimit)));
}

int IntAttribute(const tinyxml2::XMLElement& e, const char* name) {
    const char* text = e.Attribute(name);
    return text ? ParseIntTruncated(text) : 0;
}

void TextAttribute(const tinyxml2::XMLElement& e, const char* name, std::string& field) {
    if (const char* text = e.Attribute(name))
        field = ClipText(text);
}

std::vector<std::string> SplitClassNames(const std::string& list) {
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= list.size() && static_cast<int>(names.size()) < kMaxClassNames) {
        size_t comma = list.find(',', start);
        size_t end = comma == std::string::npos ? list.size() : comma;
        if (end > start)
            names.push_back(list.substr(start, end - start));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return names;
}

}  // namespace

std::string Game::LevelFileName(int level) {
    return "Levels\\level_" + std::to_string(level) + ".xml";
}

int Game::LoadShapeClasses(std::string_view fileName) {
    tinyxml2::XMLDocument doc;
    if (!ParseXmlFile(services_.files, fileName, doc)) {
        services_.log.WriteLog("Fatal error, cannot load XML: " + std::string(fileName), 0);
        return 0;
    }
    int classCount = 0;
    bool warnedClasses = false;
    const tinyxml2::XMLElement* root = doc.FirstChildElement("Level");
    for (const tinyxml2::XMLElement* c = root ? root->FirstChildElement("ShapeClass") : nullptr; c;
         c = c->NextSiblingElement("ShapeClass")) {
        if (classCount >= board::kMaxClasses) {
            if (!warnedClasses) {
                services_.log.WriteLog(
                    "More than 30 shape classes in " + std::string(fileName) + ": the rest are ignored",
                    LOG_WARNING);
                warnedClasses = true;
            }
            break;
        }
        ShapeClass& shapeClass = allClasses[static_cast<size_t>(classCount++)];
        TextAttribute(*c, "name", shapeClass.name);
        TextAttribute(*c, "soundEvent", shapeClass.soundEvent);
        int shapeCount = 0;
        for (const tinyxml2::XMLElement* s = c->FirstChildElement("Shape"); s;
             s = s->NextSiblingElement("Shape")) {
            if (shapeCount >= board::kMaxShapesPerClass) {
                services_.log.WriteLog(
                    "More than 10 shapes in class '" + shapeClass.name + "': the rest are ignored",
                    LOG_WARNING);
                break;
            }
            ShapeImages& images = shapeClass.shapes[static_cast<size_t>(shapeCount++)];
            TextAttribute(*s, "mainImage", images.mainImage);
            TextAttribute(*s, "maskImage", images.maskImage);
        }
        shapeClass.shapeCount = shapeCount;
    }
    allClassCount = classCount;
    return 1;
}

int Game::LevelFileExists(int level) const {
    tinyxml2::XMLDocument doc;
    return ParseXmlFile(services_.files, LevelFileName(level), doc) ? 1 : 0;
}

void Game::ResetBug() {
    bug = Bug{};
    bug.lastEnd = SystemNow();
}

void Game::LoadLevel() {
    Log& log = services_.log;
    Random& random = services_.random;
    // Values before reading; they stay when the file cannot be read.
    ResetBug();
    newShapeTime = 0.1f;
    levelTime = 100.0f;
    shapeClassCount = 3;
    bonusLevel.clear();
    shapeClassList.clear();
    bug.appearanceRange = 15.0f;
    fBonusAnyShapeP = 0.05f;
    fBonusBandP = 0.25f;
    fBonusAreaP = 0.25f;
    progress = 0.0f;
    comboCount = 0;
    panelCount = 0;
    cellCount = 0;
    held.present = 0;
    timeoutWarnings = 0;
    lastPlaced.classIndex = -1;
    spawnedCount = 0;
    // A tutorial of an earlier game never carries over, nor the clock pause it held.
    tutorialActive = 0;
    tutorialStep = 0;
    pauseDepth_ = 0;
    menuPauseDepth_ = 0;
    tutorialHoldsPause_ = false;
    // A level loaded while the editor is on stands still until the editor is switched off.
    if (editorMode)
        PauseClock();

    std::string fileName = LevelFileName(levelNumber);
    tinyxml2::XMLDocument doc;
    const tinyxml2::XMLElement* map = nullptr;
    if (ParseXmlFile(services_.files, fileName, doc))
        map = doc.FirstChildElement("LevelMap");
    if (!map) {
        log.WriteLog("Fatal error, cannot load XML: " + fileName, 0);
        return;
    }

    newShapeTime = FloatAttribute(*map, "newShapeTime");
    levelTime = FloatAttribute(*map, "levelTime");
    shapeClassCount = IntAttribute(*map, "shapeClassCount");
    TextAttribute(*map, "bonusLevel", bonusLevel);
    TextAttribute(*map, "shapeClassList", shapeClassList);
    lineSpeed = FloatAttribute(*map, "lineSpeed");
    bug.appearanceRange = FloatAttribute(*map, "fBugAppearanceRange");
    lineShapeCount = IntAttribute(*map, "lineShapeCount");
    fBonusAnyShapeP = FloatAttribute(*map, "fBonusAnyShapeP");
    fBonusBandP = FloatAttribute(*map, "fBonusBandP");
    fBonusAreaP = FloatAttribute(*map, "fBonusAreaP");

    if (lineShapeCount < 0 || lineShapeCount > board::kMaxCellsPerLine) {
        log.WriteLog(
            "lineShapeCount " + std::to_string(lineShapeCount) + " in " + fileName + " is out of range",
            LOG_WARNING);
        lineShapeCount = std::clamp(lineShapeCount, 0, board::kMaxCellsPerLine);
    }

    // The classes that can be chosen: those with shapes, each distinct record once.
    std::vector<int> pool;
    std::array<int, board::kMaxClasses> representative{};
    representative.fill(-1);
    for (int c = 0; c < allClassCount; ++c) {
        const ShapeClass& candidate = allClasses[static_cast<size_t>(c)];
        if (candidate.shapeCount <= 0)
            continue;
        int same = -1;
        for (int p : pool) {
            if (allClasses[static_cast<size_t>(p)].SameAs(candidate))
                same = p;
        }
        if (same < 0) {
            pool.push_back(c);
            same = c;
        }
        representative[static_cast<size_t>(c)] = same;
    }
    int wanted = shapeClassCount;
    shapeClassCount = std::clamp(wanted, 0, std::min<int>(board::kMaxClasses, static_cast<int>(pool.size())));
    if (shapeClassCount != wanted) {
        log.WriteLog("shapeClassCount " + std::to_string(wanted) + " in " + fileName + ": only " +
                         std::to_string(shapeClassCount) + " classes can be used",
                     LOG_WARNING);
    }

    std::vector<std::string> names = SplitClassNames(shapeClassList);
    std::vector<int> chosen;
    for (int slot = 0; slot < shapeClassCount; ++slot) {
        int pick = -1;
        if (!shapeClassList.empty() && slot < static_cast<int>(names.size())) {
            const std::string& name = names[static_cast<size_t>(slot)];
            for (int c = 0; c < allClassCount && pick < 0; ++c) {
                if (allClasses[static_cast<size_t>(c)].name == name)
                    pick = representative[static_cast<size_t>(c)];
            }
            if (pick >= 0 && std::find(chosen.begin(), chosen.end(), pick) != chosen.end())
                pick = -1;
            if (pick < 0) {
                log.WriteLog("Shape class '" + name + "' of " + fileName +
                                 " is unknown, empty or repeated: a random class takes its place",
                             LOG_WARNING);
            }
        }
        if (pick < 0) {
            std::vector<int> unused;
            for (int p : pool) {
                if (std::find(chosen.begin(), chosen.end(), p) == chosen.end())
                    unused.push_back(p);
            }
            pick = unused[static_cast<size_t>(random.RandomInt(0, static_cast<int>(unused.size()) - 1))];
        }
        chosen.push_back(pick);
        levelClasses[static_cast<size_t>(slot)] = allClasses[static_cast<size_t>(pick)];
    }

    if (gameMode != ModeTransformer) {
        for (int c = 0; c < shapeClassCount; ++c) levelClasses[static_cast<size_t>(c)].shapeCount = 1;
    }

    // The cells the file lists; the grid built below replaces them.
    int read = 0;
    for (const tinyxml2::XMLElement* e = map->FirstChildElement("ShapeCell"); e && read < board::kMaxCells;
         e = e->NextSiblingElement("ShapeCell")) {
        ShapeItem& cell = cells[static_cast<size_t>(read++)];
        cell = ShapeItem{};
        cell.x = FloatAttribute(*e, "xc");
        cell.y = FloatAttribute(*e, "yc");
        cell.baseY = cell.y;
        cell.present = 1;
        cell.filled = 0;
        if (shapeClassCount > 0) {
            cell.classIndex = random.RandomInt(0, shapeClassCount - 1);
            cell.shapeIndex = random.RandomInt(0, ShapeCountOf(cell.classIndex) - 1);
        }
    }

    BuildGrid(lineShapeCount, board::kLineCount);
    ForceEveryClass();
}

void Game::ResetLines() {
    linesLeft = board::kLineCount;
    for (int i = 0; i < board::kLineCount; ++i) {
        BoardLine& line = lines[static_cast<size_t>(i)];
        line = BoardLine{};
        line.x = board::kFirstLineX + static_cast<float>(i) * board::kLinePitch;
        line.y = 0.5f;
        line.alpha = 1.0f;
        line.removed = 0;
        line.scroll = 0.01f;
    }
}

void Game::StartLevel() {
    services_.log.WriteLog("StartLevel(" + std::to_string(levelNumber) + ")", LOG_TIME | LOG_FRAME);
    ResetLines();
    appStates_.SetState(Playing);
    LoadLevel();
    int cycle = ((levelNumber - 1) % 30 + 30) % 30;
    backgroundNext = "Graphics\\back_game0" + std::to_string(cycle / 6 + 1) + ".jpg";
    effects_.Clear();
    int previous = appStates_.PreviousState();
    if (previous == MainMenu || previous == StageMap) {
        effects_.AddTween(0.0f, 0.5f, 1.0f, 0.0f, &sceneFade);
        levelPhase = 0;
        backgroundShown = backgroundNext;
        textures_.FindTexture(backgroundShown);
        textures_.FindTexture("Graphics\\status-border.png");
    } else {
        levelPhase = 1;
    }
    levelStartTime = SystemNow();
    restoredFromSave = 0;
    savedTimeLeft = levelTime;
    LoadCellTextures();
    if (hooks.levelStarted)
        hooks.levelStarted();
}

void Game::NewGame() {
    levelNumber = 1;
    levelNumber = gameMode == ModeTransformer ? startLevelTransformer : startLevelClassic;
    score = 0;
    tutorialActive = 0;
    if (hooks.showStageMap)
        hooks.showStageMap();
}

}  // namespace tamblor

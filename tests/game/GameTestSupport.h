#pragma once
// A whole level with every seam scripted: files in a temporary folder, a manual clock, a random
// generator that can be told what to draw, scripted input, recorded sounds and textures.
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "core/AppState.h"
#include "core/CoreServices.h"
#include "core/Language.h"
#include "core/Log.h"
#include "core/MouseButtons.h"
#include "core/Random.h"
#include "core/Settings.h"
#include "game/Game.h"
#include "game/TextureFinder.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/InputState.h"
#include "platform/Message.h"
#include "screens/EffectList.h"
#include "sound/SoundEventPlayer.h"

namespace tamblor::test {

// Draws what a test queued, then carries on with the ordinary generator; counts every draw.
class ScriptedRandom : public Random {
public:
    std::deque<int> queued;
    int draws = 0;
    int Rand15() override {
        ++draws;
        if (!queued.empty()) {
            int v = queued.front();
            queued.pop_front();
            return v;
        }
        return Random::Rand15();
    }
    // The draw that makes Fraction() return just below or at the given value.
    static int FractionDraw(double f) { return static_cast<int>(f * 32767.0); }
};

class RecordingSound : public SoundEventPlayer {
public:
    std::vector<std::string> played;
    void PlayEvent(std::string_view name) override { played.emplace_back(name); }
    int Count(const std::string& name) const {
        int n = 0;
        for (const auto& p : played) n += p == name ? 1 : 0;
        return n;
    }
};

// Hands out one distinct fake handle per name and remembers the names asked for.
class FakeTextures : public TextureFinder {
public:
    std::vector<std::string> asked;
    Texture* FindTexture(std::string_view name) override {
        asked.emplace_back(name);
        if (name.empty())
            return nullptr;
        auto it = ids_.find(std::string(name));
        if (it == ids_.end())
            it = ids_.emplace(std::string(name), static_cast<int>(ids_.size())).first;
        return reinterpret_cast<Texture*>(&storage_[static_cast<size_t>(it->second) % storage_.size()]);
    }
    Texture* Handle(std::string_view name) { return FindTexture(name); }

private:
    std::map<std::string, int> ids_;
    std::array<char, 512> storage_{};
};

struct GameWorld {
    TempDir dir;
    FileSystem files{dir / "user", dir / "data"};
    Log log{files};
    Settings settings{files, log};
    ManualClock clock;  // before the language, which keeps it
    Language language{files, log, clock};
    StderrDialogs dialogs;
    ScriptedRandom random;
    InputState input;
    CoreServices services{clock, random, input, files, log, settings, language, dialogs};
    AppStates appStates{input};
    MouseButtons mouse;
    RecordingSound sound;
    FakeTextures textures;
    EffectList effects{clock, random, sound};
    Game game{services, appStates, mouse, effects, sound, textures};

    GameWorld() {
        dir.Write("user/.keep", "");
        random.SRand15(12345);
        game.hooks.clientSize = [] { return std::pair<int, int>(800, 600); };
        // The level tests end levels and clocks with the developer keys.
        game.developerKeys = true;
    }

    void WriteData(const std::string& name, const std::string& text) { dir.Write("data/" + name, text); }
    std::string LogText() { return dir.Read("user/app.log"); }

    // classes.xml with `count` classes "c0".."cN" of `shapes` shapes each.
    void WriteClasses(int count, int shapes = 3);
    // Levels/level_N.xml with the given attribute text inside <LevelMap ...>.
    void WriteLevel(int level, const std::string& attributes);

    // Level classes set directly: `count` classes of `shapes` shapes, images "Shapes\cK_sM.png".
    void UseClasses(int count, int shapes = 1);
    // Lays out a board from a picture of one row per line (line 0 first, its cells from the top):
    // '.' empty cell of class 0, '#' filled cell of class 0, '-' a cell of a removed line (filled,
    // gone), '0'..'9' an empty cell of that class, 'a'..'j' a filled cell of class 0..9.
    void SetBoard(const std::vector<std::string>& rows);
    // The board as the same kind of picture ('.', '#', '-' only).
    std::vector<std::string> BoardPicture() const;

    // Mouse in screen fractions, and the left button.
    void MouseAt(float x, float y) {
        input.MoveCursor(static_cast<int>(x * 800.0f + 0.5f), static_cast<int>(y * 600.0f + 0.5f));
        game.mouseX = static_cast<float>(input.CursorX()) / 800.0f;
        game.mouseY = static_cast<float>(input.CursorY()) / 600.0f;
    }
    void Left(bool down) { input.SetKeyDown(VK_LBUTTON, down); }
    // A click: the button goes down in a frame (edge seen by TryPlace).
    void ClickAt(float x, float y) {
        MouseAt(x, y);
        Left(true);
        mouse.UpdateMouseButtons(input);
        game.TryPlace(false);
        Left(false);
        mouse.UpdateMouseButtons(input);
    }
    // Holds a shape of the class and shape given (as if taken from the panel).
    void Hold(int classIndex, int shapeIndex = 0, int bonusKind = 0) {
        game.held = ShapeItem{};
        game.held.classIndex = classIndex;
        game.held.shapeIndex = shapeIndex;
        game.held.bonusKind = bonusKind;
        game.held.present = 1;
    }
    const ShapeItem& Cell(int line, int k) const {
        return game.cells[static_cast<size_t>(line * game.lineShapeCount + k)];
    }
    // Steps the clock by ms and runs the effect list (update, then drawing of the glides).
    void Step(uint32_t ms);
    // Frames of 10 ms for the given time.
    void Run(uint32_t ms) {
        for (uint32_t t = 0; t < ms; t += 10) Step(10);
    }
    // Applies the glides as drawing would, without a picture.
    void ApplyTweens();
};

}  // namespace tamblor::test

#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "game/ShapeItem.h"

namespace tamblor {

struct CoreServices;
class AppStates;
class MouseButtons;
class EffectList;
class SoundEventPlayer;
class TextureFinder;

// What the level needs from the rest of the application, set by the shell.
struct GameHooks {
    // Shows the stage map (a new game starts there).
    std::function<void()> showStageMap;
    // The game-complete sequence (developer key F9).
    std::function<void()> gameComplete;
    // Game over: the music falls silent and the saved game of the mode is marked as gone.
    std::function<void()> silenceMusic;
    std::function<void()> markNoSavedGame;
    // Position of a text widget of the in-game screen by name; (0, 0) when there is none.
    std::function<std::pair<float, float>(std::string_view name)> inGameTextPosition;
    // Back-buffer size in pixels, to turn the cursor into screen fractions (800 x 600 when unset).
    std::function<std::pair<int, int>()> clientSize;
    // A level has started: its files are read and its pictures found.
    std::function<void()> levelStarted;
};

enum GameMode : int32_t { ModeClassic = 0, ModeTransformer = 1, ModeRelax = 2 };

// The running level: board, panel, held shape, classes, clock, score, tutorial and bug, with the
// rules that move, fill and clear them. One object lives for the whole run.
class Game {
public:
    Game(CoreServices& services, AppStates& appStates, MouseButtons& mouse, EffectList& effects,
         SoundEventPlayer& sound, TextureFinder& textures);

    GameHooks hooks;

    // --- Level state -------------------------------------------------------------------------------
    // Clock, float seconds.
    float now = 0.0f;
    float prevNow = 0.0f;
    float dt = 0.0f;
    float levelStartTime = 0.0f;
    float playStartTime = 0.0f;
    float sinceLevelStart = 0.0f;
    float elapsed = 0.0f;
    float timeLeft = 0.0f;
    float levelTime = 100.0f;

    std::array<ShapeItem, board::kMaxPanelSlots> panel{};
    int32_t panelCount = 0;
    std::array<ShapeItem, board::kMaxCells> cells{};
    int32_t cellCount = 0;
    ShapeItem held{};

    std::array<ShapeClass, board::kMaxClasses> allClasses{};
    int32_t allClassCount = 0;
    std::array<ShapeClass, board::kMaxClasses> levelClasses{};
    int32_t shapeClassCount = 3;

    int32_t levelNumber = 1;
    int32_t score = 0;
    int32_t filledCount = 0;
    float newShapeTime = 0.1f;

    int32_t editorMode = 0;
    // The developer keys (F7, F8, F9, F11 held in a level) act only when the program was started for
    // development; otherwise F11 belongs to the window.
    bool developerKeys = false;
    int32_t gameMode = ModeClassic;
    int32_t startLevelClassic = 1;
    int32_t startLevelTransformer = 1;
    int32_t levelPhase = 0;
    std::string backgroundShown;
    std::string backgroundNext;
    std::string bonusLevel;
    std::string shapeClassList;

    float fBonusAnyShapeP = 0.05f;
    float fBonusBandP = 0.25f;
    float fBonusAreaP = 0.25f;
    float progress = 0.0f;
    float sceneFade = 1.0f;
    int32_t comboCount = 0;
    ShapeItem lastPlaced{};
    int32_t timeoutWarnings = 0;

    int32_t LastOpenedLevel = 1;
    int32_t spawnedCount = 0;
    int32_t restoredFromSave = 0;
    float savedTimeLeft = 0.0f;
    int32_t tutorialActive = 0;
    int32_t tutorialStep = 0;
    int32_t tutorialPanelIndex = 4;
    int32_t tutorialCellIndex = 4;

    float lineSpeed = 0.03f;
    int32_t lineShapeCount = 11;
    int32_t lineCount = board::kLineCount;
    float mouseX = 0.0f;
    float mouseY = 0.0f;
    Bug bug{};

    std::array<BoardLine, board::kLineCount> lines{};
    int32_t linesLeft = board::kLineCount;
    int32_t lastPanelClass = -1;  // class of the newest panel shape, kept across levels

    // --- Board model -------------------------------------------------------------------------------
    void BuildGrid(int lineShapeCountArg, int lineCountArg);
    // Gives every level class at least one cell.
    void ForceEveryClass();
    // The picture of a shape (its bonus picture for a bonus shape); "" when the item names none. The
    // text belongs to the level's classes and stays valid until the next level is loaded.
    std::string_view ShapeImageFile(const ShapeItem& item) const;
    void LoadItemTextures(ShapeItem& item);
    void LoadCellTextures();
    bool IsLineComplete(int line) const;
    static int StageOf(int level) { return (level - 1) / 6 + 1; }
    int Stage() const { return StageOf(levelNumber); }
    void CountFilled();
    bool IsBonusLevel() const { return bonusLevel == "true"; }
    // The shape count of a level class, 0 for an index outside the level's classes.
    int ShapeCountOf(int classIndex) const;

    // --- Files and level start ---------------------------------------------------------------------
    int LoadShapeClasses(std::string_view fileName);
    void LoadLevel();
    int LevelFileExists(int level) const;
    void StartLevel();
    void NewGame();
    static std::string LevelFileName(int level);
    // Puts the six lines back where a level starts.
    void ResetLines();
    void ResetBug();

    // --- Panel and lines ---------------------------------------------------------------------------
    void SpawnPanelShape();
    void MovePanel();
    void MoveLines();
    bool TakeFromPanel();
    void Discard();
    void OnKey(unsigned message, uintptr_t key);

    // --- Placing -----------------------------------------------------------------------------------
    void TryPlace(bool takenThisFrame);
    void RemoveCompleteLines();

    // --- Level update ------------------------------------------------------------------------------
    void UpdateLevel(float frameTime);
    void PauseClock();
    void ResumeClock();
    // Moves the bug (approach, eat, leave); the scene drawing calls it while a bug is active.
    void UpdateBug(float frameTime);
    // The level-1 tutorial asks for panel slot 4 to go into cell 4; imposed every drawn frame.
    void ImposeTutorialSetup();
    int PauseDepth() const { return pauseDepth_; }

    // --- Level editor ------------------------------------------------------------------------------
    // F12: switches the editor; switched on, every cell goes back to its starting height, present and
    // empty, and the level's clock holds (as in a pause) until it is switched off.
    void ToggleEditor();
    // Keypad plus and minus: the next or previous level file, loaded with its pictures and fresh lines.
    void EditorChangeLevel(int step);
    // Each frame while the editor is on and the level runs: add cells under the left button on the
    // snapping grid, remove them under the right one, save with F2.
    void UpdateEditor();
    // Writes the level file of levelNumber (in the user folder). False when the write failed.
    bool SaveLevelFile();
    // The editor grid point nearest below-left of a mouse position.
    static std::pair<float, float> SnapToEditorGrid(float x, float y);

private:
    friend class GameTestAccess;
    float SystemNow() const;
    void PauseLevelClock();
    void ResumeLevelClock();
    void StartTutorial();
    void EndTutorial();
    void Transform();
    void BugAppearance();
    void BonusLevelStep();
    void GameOver();
    void CompleteLevel();
    void TimeWarnings();
    void PhaseChanges();
    void DeveloperKeys();
    void TakePanelSlot(int index);
    std::pair<float, float> TextPosition(std::string_view name) const;
    void MoveBugToward(float tx, float ty, float step);

    CoreServices& services_;
    AppStates& appStates_;
    MouseButtons& mouse_;
    EffectList& effects_;
    SoundEventPlayer& sound_;
    TextureFinder& textures_;

    int pauseDepth_ = 0;
    float pauseStart_ = 0.0f;
    bool tutorialHoldsPause_ = false;
    int menuPauseDepth_ = 0;
    float menuPauseStart_ = 0.0f;
    bool editorSaveKeyDown_ = false;
};

}  // namespace tamblor

// scores.ini and the name entry. The input is "scores.ini text\0keys": the tables are loaded as at
// start-up, a score is added to a table chosen by the keys and a name typed with them (byte 1 is
// Return, 2 Escape, 3 Backspace, anything else a typed character). Names stay within their fields,
// and whatever the tables hold after a save is what a fresh load reads.
#include <string>

#include "FuzzSupport.h"
#include "core/Log.h"
#include "core/Settings.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Message.h"
#include "screens/HighScores.h"
#include "sound/SoundEventPlayer.h"

namespace {

using namespace tamblor;

void CheckNames(const HighScores& scores) {
    for (int t = 0; t < HighScores::kTables; ++t) {
        for (int r = 0; r < HighScores::kRows; ++r) {
            FUZZ_CHECK(scores.Entry(t, r).Name().size() < HighScoreEntry::kNameBytes,
                       "a name runs past its field");
        }
    }
}

// A fresh load of scores.ini gives exactly these tables.
void CheckStored(Settings& settings, const HighScores& scores) {
    fuzz::SilentSoundEvents sound;
    ManualClock clock;
    HighScores fresh(settings, sound, clock);
    FUZZ_CHECK(fresh.Load() == 1, "saved tables do not load");
    FUZZ_CHECK(fresh.Encode() == scores.Encode(), "saved tables read back differently");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto [text, keys] = fuzz::SplitAtZero(fuzz::AsText(data, size));
    fuzz::Scratch().Empty();
    fuzz::Scratch().Write(HighScores::kFile, text);

    FileSystem files(fuzz::Scratch().Path(), "");
    Log log(files);
    Settings settings(files, log);
    fuzz::SilentSoundEvents sound;
    ManualClock clock;
    HighScores scores(settings, sound, clock);
    const int loaded = scores.LoadAtStartup();
    CheckNames(scores);
    if (!loaded)
        CheckStored(settings, scores);  // the empty tables were written

    scores.SetTable(keys.empty() ? 0 : static_cast<uint8_t>(keys[0]) % HighScores::kTables);
    const int score =
        keys.size() < 3 ? 1000 : (static_cast<uint8_t>(keys[1]) << 8 | static_cast<uint8_t>(keys[2]));
    scores.AddScore(score);
    for (size_t i = keys.empty() ? 0 : 1; i < keys.size() && scores.Entering(); ++i) {
        Message m;
        const auto c = static_cast<uint8_t>(keys[i]);
        if (c >= 1 && c <= 3) {
            m.message = WM_KEYDOWN;
            m.wParam = c == 1 ? VK_RETURN : c == 2 ? VK_ESCAPE : VK_BACK;
        } else {
            m.message = WM_CHAR;
            m.wParam = c;
        }
        scores.MsgProc(m);
        CheckNames(scores);
        const std::string typed = scores.Entry(scores.CurrentTable(), scores.EntryRow()).Name();
        FUZZ_CHECK(typed.size() <= HighScores::kMaxNameLength, "a typed name is longer than allowed");
        if (!scores.Entering() && c != 2)
            CheckStored(settings, scores);
    }
    if (scores.Save())
        CheckStored(settings, scores);
    return 0;
}

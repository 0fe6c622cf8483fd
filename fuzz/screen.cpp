// Screen files: loaded, then the mouse moves over and clicks a grid of points and the centre of every
// widget, and the screen is drawn on the recording device after each round. Counts stay within their
// arrays, a click answers with the action of a widget or nothing, a check box's new state is found
// again in config.ini, slider values stay on their bars.
#include "screens/Screen.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "PictureSizeDecoder.h"
#include "core/IniText.h"
#include "core/Language.h"
#include "core/Log.h"
#include "core/Settings.h"
#include "graphics/Graphics.h"
#include "graphics/RecordingRenderDevice.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/InputState.h"
#include "platform/Message.h"
#include "screens/GraphicsScreenCanvas.h"

namespace {

using namespace tamblor;

class CountingSounds final : public SoundFilePlayer {
public:
    void PlaySoundFile(std::string_view) override { ++played; }
    int played = 0;
};

// A widget centre in client pixels, kept on (or just off) the client area.
int ToPixel(float fraction, int size) {
    if (!std::isfinite(fraction))
        return -1;
    return static_cast<int>(std::clamp(fraction, -1.0f, 2.0f) * static_cast<float>(size));
}

bool IsActionOfWidget(const Screen& screen, const std::string& action) {
    for (int i = 0; i < screen.buttonCount; ++i) {
        if (screen.buttons[static_cast<size_t>(i)].action == action)
            return true;
    }
    for (int i = 0; i < screen.sliderCount; ++i) {
        if (screen.sliders[static_cast<size_t>(i)].action == action)
            return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzz::ScratchFolder& scratch = fuzz::Scratch();
    scratch.Empty();
    scratch.Write("fuzz-screen.xml", fuzz::AsText(data, size));

    FileSystem files(scratch.Path(), fuzz::GameFolder());
    Log log(files);
    Settings settings(files, log);
    log.timeOfDay = [] { return std::string("00:00:00"); };
    ManualClock clock;
    Language language(files, log, clock);
    language.languageName = "ENGLISH";
    fuzz::PictureSizeDecoder decoder;
    RecordingRenderDevice device(800, 600);
    Graphics graphics(files, settings, language, log, clock, decoder);
    graphics.AttachDevice(device);
    graphics.LoadSymbolWidths("Graphics\\font01.png");
    GraphicsScreenCanvas canvas(graphics);
    InputState input;
    CountingSounds sounds;
    ScreenEnvironment env{settings, log, input, canvas, sounds};

    Screen screen(env);
    if (!screen.Load("fuzz-screen.xml"))
        return 0;
    FUZZ_CHECK(screen.buttonCount >= 0 && screen.buttonCount <= Screen::kMaxButtons, "button count");
    FUZZ_CHECK(screen.sliderCount >= 0 && screen.sliderCount <= Screen::kMaxSliders, "slider count");
    FUZZ_CHECK(screen.imageCount >= 0 && screen.imageCount <= Screen::kMaxImages, "image count");
    FUZZ_CHECK(screen.textCount >= 0 && screen.textCount <= Screen::kMaxTexts, "text count");

    std::vector<std::pair<int, int>> points;
    for (int gx = 0; gx <= 8; ++gx) {
        for (int gy = 0; gy <= 6; ++gy) points.emplace_back(gx * 100, gy * 100);
    }
    for (int i = 0; i < screen.buttonCount; ++i) {
        const ScreenButton& b = screen.buttons[static_cast<size_t>(i)];
        points.emplace_back(ToPixel(b.x, 800), ToPixel(b.y, 600));
    }
    for (int i = 0; i < screen.sliderCount; ++i) {
        const ScreenSlider& s = screen.sliders[static_cast<size_t>(i)];
        points.emplace_back(ToPixel(s.x, 800), ToPixel(s.y, 600));
    }

    // The first drawing takes the sliders' bar sizes from their pictures.
    screen.Render();
    for (int round = 0; round < 3; ++round) {
        input.SetKeyDown(VK_LBUTTON, round == 2);  // the last round drags the sliders
        for (auto [x, y] : points) {
            input.MoveCursor(x, y);
            Message move;
            move.message = WM_MOUSEMOVE;
            move.x = x;
            move.y = y;
            const std::string moved = screen.MsgProc(move);
            FUZZ_CHECK(moved.empty() || IsActionOfWidget(screen, moved),
                       "a move answered with no widget's action");
            if (round == 1) {
                Message click = move;
                click.message = WM_LBUTTONDOWN;
                const std::string action = screen.MsgProc(click);
                FUZZ_CHECK(action.empty() || IsActionOfWidget(screen, action),
                           "a click answered with no widget's action");
            }
            for (int i = 0; i < screen.sliderCount; ++i) {
                const float v = screen.sliders[static_cast<size_t>(i)].value;
                FUZZ_CHECK(v >= 0.0f && v <= 1.0f, "a slider left its bar");
            }
        }
        // A check box set to a new state finds it again in config.ini when its name is one the
        // settings accept.
        for (int i = 0; i < screen.buttonCount; ++i) {
            const ScreenButton& b = screen.buttons[static_cast<size_t>(i)];
            if (!b.IsCheckBox() || !IsSafeIniName(b.name))
                continue;
            const int wanted = b.checked ? 0 : 1;
            screen.SetChecked(b.name, wanted);
            int stored = -1;
            FUZZ_CHECK(settings.ReadConfigInt(Screen::kOptionsSection, b.name, &stored) && stored == wanted,
                       "a check box's state is not found again in config.ini");
        }
        screen.Render();
        device.ForgetDraws();
    }
    return 0;
}

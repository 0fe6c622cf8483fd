#include "app/ScreenSet.h"

#include "core/AppState.h"

namespace tamblor {

int ScreenSet::LoadAll() {
    int loaded = 0;
    for (size_t i = 0; i < kCount; ++i) {
        loaded_[i] = screens_[i].Load(kFiles[i]) != 0;
        loaded += loaded_[i] ? 1 : 0;
    }
    return loaded;
}

Screen* ScreenSet::ForState(int state) {
    switch (state) {
        case MainMenu:
            return &Get(ScreenId::Main);
        case GameOver:
            return &Get(ScreenId::GameOver);
        case HighScoresState:
            return &Get(ScreenId::HighScores);
        case Playing:
            return &Get(ScreenId::InGame);
        case Paused:
            return &Get(ScreenId::Pause);
        case Options:
            return &Get(ScreenId::Options);
        case StageMap:
            return &Get(ScreenId::Map);
        case ClearScoresConfirm:
            return &Get(ScreenId::ClearConfirmation);
        case ContinueConfirm:
            return &Get(ScreenId::ContinueConfirmation);
        case GameComplete:
            return &Get(ScreenId::GameComplete);
        case Instructions1:
            return &Get(ScreenId::Instructions1);
        case Instructions2:
            return &Get(ScreenId::Instructions2);
        case Instructions3:
            return &Get(ScreenId::Instructions3);
        default:
            return nullptr;
    }
}

}  // namespace tamblor

#pragma once

namespace tamblor {

class Game;

// The cursor that the keys and the game pad move through a running level. It stands on a panel shape
// or on a hole and follows it as it slides; a step goes to the nearest shape or free hole in the
// direction pressed. Where it stands is only ever used as the pointer's position: picking up and
// dropping are the mouse's own clicks there.
class LevelCursor {
public:
    enum Direction { Left, Right, Up, Down };
    enum Kind { None, Panel, Hole };

    // Forgets the target (a new level, or the mouse took over).
    void Reset() {
        kind_ = None;
        index_ = -1;
    }
    // Steps from (x, y), screen fractions, to the nearest target in the direction; without a target
    // yet, to the target nearest (x, y). Stays put when there is none.
    void Move(const Game& game, Direction direction, float x, float y);
    // The centre of the target now, in screen fractions; false without one. A target that is gone
    // (taken, its line removed, scrolled out of reach) is replaced by the one nearest its last place.
    bool Follow(const Game& game, float& x, float& y);

    Kind TargetKind() const { return kind_; }
    int TargetIndex() const { return index_; }

    // Where targets can be: panel shapes far enough in view to be taken, holes between the top edge,
    // where they wrap away, and the panel, below which no drop is taken.
    static constexpr float kPanelMinX = 0.2f;
    static constexpr float kPanelMaxX = 0.97f;
    static constexpr float kHoleMinY = 0.1f;
    static constexpr float kHoleMaxY = 0.85f;

private:
    bool Reachable(const Game& game, Kind kind, int index, bool followOnly) const;
    bool Centre(const Game& game, Kind kind, int index, float& x, float& y) const;
    void Nearest(const Game& game, float x, float y);

    Kind kind_ = None;
    int index_ = -1;
    float lastX_ = 0.5f;
    float lastY_ = 0.5f;
};

}  // namespace tamblor

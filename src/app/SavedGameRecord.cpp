#include "app/SavedGameRecord.h"

#include <cmath>
#include <cstring>

namespace tamblor {
namespace {

class Writer {
public:
    explicit Writer(std::array<uint8_t, SavedGameRecord::kBytes>& bytes) : bytes_(bytes) {}
    void Seek(size_t at) { at_ = at; }
    void U32(uint32_t v) {
        for (int b = 0; b < 4; ++b) bytes_[at_++] = static_cast<uint8_t>(v >> (8 * b));
    }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void F32(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        U32(bits);
    }
    void Shape(const SavedShape& s) {
        I32(s.classIndex);
        I32(s.shapeIndex);
        F32(s.baseY);
        F32(s.x);
        F32(s.y);
        F32(s.width);
        F32(s.height);
        F32(s.vy);
        I32(s.present);
        I32(s.filled);
        I32(s.bonusKind);
        U32(0);  // mask texture handle: meaningless in a file
        U32(0);  // main texture handle
    }
    void Line(const SavedLine& l) {
        F32(l.x);
        F32(l.y);
        U32(l.color);
        F32(l.alpha);
        I32(l.removed);
        F32(l.scroll);
    }

private:
    std::array<uint8_t, SavedGameRecord::kBytes>& bytes_;
    size_t at_ = 0;
};

class Reader {
public:
    explicit Reader(const std::array<uint8_t, SavedGameRecord::kBytes>& bytes) : bytes_(bytes) {}
    void Seek(size_t at) { at_ = at; }
    void Skip(size_t n) { at_ += n; }
    uint32_t U32() {
        uint32_t v = 0;
        for (int b = 0; b < 4; ++b) v |= static_cast<uint32_t>(bytes_[at_++]) << (8 * b);
        return v;
    }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    float F32() {
        uint32_t bits = U32();
        float v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
    SavedShape Shape() {
        SavedShape s;
        s.classIndex = I32();
        s.shapeIndex = I32();
        s.baseY = F32();
        s.x = F32();
        s.y = F32();
        s.width = F32();
        s.height = F32();
        s.vy = F32();
        s.present = I32();
        s.filled = I32();
        s.bonusKind = I32();
        Skip(8);
        return s;
    }
    SavedLine Line() {
        SavedLine l;
        l.x = F32();
        l.y = F32();
        l.color = U32();
        l.alpha = F32();
        l.removed = I32();
        l.scroll = F32();
        return l;
    }

private:
    const std::array<uint8_t, SavedGameRecord::kBytes>& bytes_;
    size_t at_ = 0;
};

// The game keeps everything it moves within a few screens of the visible one: cells wrap at the
// bottom of the longest line, panel shapes enter just right of the screen.
constexpr float kPositionLimit = 10.0f;
// A time span longer than the millisecond clock can measure (2^32 ms) is no time the game took.
constexpr float kTimeLimit = 4294967.296f;

bool Finite(float v) {
    return std::isfinite(v);
}

bool Within(float v, float lo, float hi) {
    return v >= lo && v <= hi;  // false for NaN as well
}

bool Position(float v) {
    return Within(v, -kPositionLimit, kPositionLimit);
}

bool SanitiseShape(SavedShape& s) {
    if (s.classIndex < -1 || s.classIndex >= 30 || s.shapeIndex < 0 || s.shapeIndex >= 10)
        return false;
    if (s.bonusKind < 0 || s.bonusKind > 3)
        return false;
    // Sizes shrink to nothing at the end of a level and never grow past a cell. The speed is set
    // again from the level's line speed in the first frame; only its sign is kept.
    if (!Position(s.baseY) || !Position(s.x) || !Position(s.y) || !Within(s.width, 0.0f, 1.0f) ||
        !Within(s.height, 0.0f, 1.0f) || !Finite(s.vy))
        return false;
    s.present = s.present != 0;
    s.filled = s.filled != 0;
    return true;
}

}  // namespace

std::array<uint8_t, SavedGameRecord::kBytes> SavedGameRecord::Encode() const {
    std::array<uint8_t, kBytes> bytes{};
    Writer w(bytes);
    w.Seek(kPanelOffset);
    for (const auto& s : panel) w.Shape(s);
    w.Seek(kCellsOffset);
    for (const auto& s : cells) w.Shape(s);
    w.Seek(kPanelCountOffset);
    w.I32(panelCount);
    w.I32(cellCount);
    w.Seek(kLinesOffset);
    for (const auto& l : lines) w.Line(l);
    w.Seek(kLinesLeftOffset);
    w.I32(linesLeft);
    w.I32(levelNumber);
    w.I32(score);
    w.F32(sinceLevelStart);
    w.F32(elapsed);
    w.Seek(kSpawnedCountOffset);  // the reserved bytes stay 0
    w.I32(spawnedCount);
    return bytes;
}

SavedGameRecord SavedGameRecord::Decode(const std::array<uint8_t, kBytes>& bytes) {
    SavedGameRecord r;
    Reader in(bytes);
    in.Seek(kPanelOffset);
    for (auto& s : r.panel) s = in.Shape();
    in.Seek(kCellsOffset);
    for (auto& s : r.cells) s = in.Shape();
    in.Seek(kPanelCountOffset);
    r.panelCount = in.I32();
    r.cellCount = in.I32();
    in.Seek(kLinesOffset);
    for (auto& l : r.lines) l = in.Line();
    in.Seek(kLinesLeftOffset);
    r.linesLeft = in.I32();
    r.levelNumber = in.I32();
    r.score = in.I32();
    r.sinceLevelStart = in.F32();
    r.elapsed = in.F32();
    in.Seek(kSpawnedCountOffset);
    r.spawnedCount = in.I32();
    return r;
}

bool SavedGameRecord::Sanitise() {
    if (panelCount < 0 || panelCount > static_cast<int32_t>(kPanelSlots))
        return false;
    if (cellCount < 0 || cellCount > static_cast<int32_t>(kCellSlots))
        return false;
    if (linesLeft < 0 || linesLeft > static_cast<int32_t>(kLines))
        return false;
    if (levelNumber < 1 || levelNumber > kMaxLevelNumber)
        return false;
    if (spawnedCount < 0)
        return false;
    if (score < 0 || score > kMaxScore)
        return false;
    if (!Within(sinceLevelStart, -kTimeLimit, kTimeLimit) || !Within(elapsed, -kTimeLimit, kTimeLimit))
        return false;
    for (auto& s : panel)
        if (!SanitiseShape(s))
            return false;
    for (auto& s : cells)
        if (!SanitiseShape(s))
            return false;
    for (auto& l : lines) {
        // The scroll grows for as long as the level runs and only shifts the line's picture.
        if (!Position(l.x) || !Position(l.y) || !Within(l.alpha, 0.0f, 1.0f) || !Finite(l.scroll))
            return false;
        l.removed = l.removed != 0;
    }
    return true;
}

}  // namespace tamblor

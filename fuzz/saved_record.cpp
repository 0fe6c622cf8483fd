// The saved-game record (10,584 bytes at fixed offsets). Every field decodes from its offset and
// encodes back to it; a record the check accepts has its counts in range, every number finite and
// its flags 0 or 1, and stays accepted and unchanged through another encoding.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "FuzzSupport.h"
#include "app/SavedGameRecord.h"

namespace {

using tamblor::SavedGameRecord;

// Bytes the encoding always writes as 0: the two texture handles of each shape and the reserved field.
bool AlwaysZero(size_t offset) {
    if (offset >= SavedGameRecord::kReservedOffset && offset < SavedGameRecord::kSpawnedCountOffset)
        return true;
    if (offset < SavedGameRecord::kPanelCountOffset)
        return offset % SavedGameRecord::kShapeBytes >= 44;
    return false;
}

bool Finite(const tamblor::SavedShape& s) {
    return std::isfinite(s.baseY) && std::isfinite(s.x) && std::isfinite(s.y) && std::isfinite(s.width) &&
           std::isfinite(s.height) && std::isfinite(s.vy);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::array<uint8_t, SavedGameRecord::kBytes> bytes{};
    std::memcpy(bytes.data(), data, std::min(size, bytes.size()));

    SavedGameRecord record = SavedGameRecord::Decode(bytes);
    const auto encoded = record.Encode();
    for (size_t i = 0; i < bytes.size(); ++i) {
        FUZZ_CHECK(encoded[i] == (AlwaysZero(i) ? 0 : bytes[i]),
                   "a field does not encode back to its offset");
    }

    if (!record.Sanitise())
        return 0;
    FUZZ_CHECK(record.panelCount >= 0 && record.panelCount <= 20, "panel count");
    FUZZ_CHECK(record.cellCount >= 0 && record.cellCount <= 180, "cell count");
    FUZZ_CHECK(record.linesLeft >= 0 && record.linesLeft <= 6, "lines left");
    FUZZ_CHECK(record.levelNumber >= 1 && record.levelNumber <= SavedGameRecord::kMaxLevelNumber, "level");
    FUZZ_CHECK(std::isfinite(record.sinceLevelStart) && std::isfinite(record.elapsed), "clock not finite");
    auto checkShape = [](const tamblor::SavedShape& s) {
        FUZZ_CHECK(Finite(s) && (s.present == 0 || s.present == 1) && (s.filled == 0 || s.filled == 1),
                   "an accepted shape is not clean");
    };
    for (const auto& s : record.panel) checkShape(s);
    for (const auto& s : record.cells) checkShape(s);
    for (const auto& l : record.lines) {
        FUZZ_CHECK(l.removed == 0 || l.removed == 1, "an accepted line flag is not 0 or 1");
    }
    const auto clean = record.Encode();
    SavedGameRecord again = SavedGameRecord::Decode(clean);
    FUZZ_CHECK(again.Sanitise() && again.Encode() == clean, "an accepted record changes when read again");
    return 0;
}

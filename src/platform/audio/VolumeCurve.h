#pragma once

namespace tamblor {

// The loudness curve of the sound layer: a linear level 0..1 (clamped) in hundredths of a decibel,
// 0 at full volume and -10000 (silence) at 0.
int VolumeToMillibels(float level);
// The amplitude factor of a level in hundredths of a decibel; 0 at -10000 and below.
float MillibelsToGain(int millibels);

}  // namespace tamblor

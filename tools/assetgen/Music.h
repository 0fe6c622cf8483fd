#pragma once
// The music, Music\theme1.ogg: a calm 96-second loop (40 bars at 100 beats a minute) played by the
// generator's own sequencer and synthesiser and encoded as Ogg Vorbis.
#include <string>

namespace assetgen {

class Output;

// Renders the loop and encodes it; false when the encoder fails.
bool MakeMusic(Output& out);

// Encodes interleaved-free stereo float samples as Ogg Vorbis (quality 0..1) with a fixed stream
// serial number, so the same samples always give the same bytes.
std::string EncodeVorbis(const float* left, const float* right, long frames, float quality);

}  // namespace assetgen

#pragma once
// Every sound effect of Sound\ (16-bit PCM WAV, 44.1 kHz, mono).
namespace assetgen {

class Output;

void MakeSounds(Output& out);

}  // namespace assetgen

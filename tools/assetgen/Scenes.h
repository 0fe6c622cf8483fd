#pragma once
// The large pictures: menu backdrop, intro, stage map, the five level backgrounds, the board frame,
// the shape-panel tray and the six line strips.
namespace assetgen {

class Output;

void MakeScenes(Output& out);

}  // namespace assetgen

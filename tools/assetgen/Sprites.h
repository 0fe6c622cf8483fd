#pragma once
// Small animated and effect pictures: bonus pieces, digits, sparks and stars, the arrow, the locked
// stage, butterflies and the bug.
namespace assetgen {

class Output;

void MakeSprites(Output& out);

}  // namespace assetgen

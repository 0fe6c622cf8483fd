#pragma once
#include <string_view>

namespace tamblor {

// The picture formats the game decodes.
enum class PictureFormat { Unknown, Png, Jpeg, Tga, Bmp };

// The format of a picture file told from its bytes alone: the PNG, JPEG and BMP signatures, else a TGA
// header that makes sense. Unknown for anything else, including the other formats the image library
// would read (GIF, PCX, PNM, XPM, ...).
PictureFormat RecognisePicture(std::string_view bytes);

// Whether a picture of that format can be shown as it is meant: its data is all there (a JPEG reaches
// its end marker, a TGA holds every pixel its header promises) and, for a JPEG, its colours are of a
// kind the decoder turns into RGB correctly (one or three components; CMYK would come out wrong).
// The decoder itself fills what a cut-off file lacks with grey or black without failing.
bool PictureIsWhole(PictureFormat format, std::string_view bytes);

// Whether the picture's header gives a size of at most maxSide pixels each way. A file of a few
// bytes may claim 40000 x 40000 pixels (six gigabytes decoded); no texture of the game is near that.
bool PictureFitsSide(PictureFormat format, std::string_view bytes, int maxSide);

}  // namespace tamblor

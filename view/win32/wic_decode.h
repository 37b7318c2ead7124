#pragma once
// Decoding a picture file with the platform's codecs (WIC) into the form the picture module
// keeps: upright, opaque on white, no larger than asked.

#include <string>

#include "view/bgra_image.h"

namespace zz {

struct DecodedPicture {
    BgraImage image;  // the kept copy
    int width = 0;    // size of the picture in the file, upright
    int height = 0;
};

// The first frame of the file, shrunk with area averaging to fit maxWidth x maxHeight (0 leaves
// a side unbounded). False when the file cannot be decoded or its header claims an absurd
// size; then nothing large was allocated. Needs COM on the calling thread.
bool DecodePictureFile(const std::wstring& path, int maxWidth, int maxHeight, DecodedPicture& out);

}  // namespace zz

#pragma once
// Decoding a picture file with the platform's codecs (WIC) into the form the picture module
// keeps: upright, opaque on white, no larger than asked.

#include <stop_token>
#include <string>

#include "view/bgra_image.h"
#include "view/image_header.h"

namespace zz {

struct DecodedPicture {
    BgraImage image;  // the kept copy
    int width = 0;    // size of the picture in the file, upright
    int height = 0;
};

// The first frame of the file, shrunk with area averaging to the bound. False when the file
// cannot be decoded, its header claims an absurd size (then nothing large was allocated) or
// stop was asked; a stop ends the decoding within a strip of rows. Needs COM on the calling
// thread.
bool DecodePictureFile(const std::wstring& path, const KeptBound& bound, DecodedPicture& out,
                       std::stop_token stop = {});

}  // namespace zz

// Any bytes through every image header check, whatever format they are
// recognised as: each check must stay inside the bytes it is given and
// answer with a reason whenever it refuses.
#include "plugins/loader/devil/ImageHeaderCheck.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using Velta::ImageHeaderCheck;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ImageHeaderCheck::Format recognised = ImageHeaderCheck::recognise(data, size);
    for (ImageHeaderCheck::Format format :
         {ImageHeaderCheck::UNKNOWN, ImageHeaderCheck::PNG, ImageHeaderCheck::PCX, ImageHeaderCheck::JPEG,
          ImageHeaderCheck::BMP, ImageHeaderCheck::TGA}) {
        std::string problem;
        const bool accepted = ImageHeaderCheck::check(format, data, size, problem);
        // A check passes only files of its own format, and never silently refuses.
        if ((accepted && format != recognised) || (!accepted && problem.empty())) {
            std::abort();
        }
    }
    return 0;
}

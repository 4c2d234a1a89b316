// Any bytes as an image file through the header checks and DevIL, the way
// the texture manager loads them; every byte of a decoded image is read, so
// that the address sanitizer sees a layout that claims more than DevIL holds.
#include "FuzzSupport.h"
#include "plugins/loader/devil/DevILTextureSourceLoader.h"
#include "resource/TextureInfo.h"
#include "resource/TextureSource.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Velta::DevILTextureSourceLoader loader;
    loader.initialize();
    std::string problem;
    const CppLib::SharedPtr<Velta::TextureSource> image = loader.decode(VeltaFuzz::bytesOf(data, size), problem);
    if (image.isNull()) {
        if (problem.empty()) {
            std::abort();  // a refusal always says why
        }
        return 0;
    }
    const Velta::TextureInfo& info = image->getTextureInfo();
    const auto* pixels = static_cast<const volatile unsigned char*>(image->getTextureData());
    unsigned int sum = 0;
    for (unsigned long long i = 0; i < info.getMemSize(); ++i) {
        sum += pixels[i];
    }
    const void* last = image->getPixel(info.getWidth() - 1, info.getHeight() - 1, info.getDepth() - 1);
    if (!last || image->getPixel(info.getWidth(), 0, 0)) {
        std::abort();
    }
    return static_cast<int>(sum & 0);
}

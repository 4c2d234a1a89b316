// Any bytes as a model file: the reader checks them, and a model it accepts
// is built into geometry and materials as the object manager would.
#include "FuzzSupport.h"
#include "plugins/loader/ms3d/Ms3dObjectLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    VeltaFuzz::startedCore();
    static Velta::Ms3dObjectLoader loader;
    Velta::NameMapper::ResourceInfo info;
    info.name = "fuzzed";
    info.fileName = "fuzzed.ms3d";
    info.extension = "ms3d";
    loader.load(info, VeltaFuzz::bytesOf(data, size));
    return 0;
}

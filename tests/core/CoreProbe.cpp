// A shared object of its own, built with hidden visibility like any plug-in
// or game module, that asks for the core. It must get the library's instance.
#include "core/VeltaCore.h"

extern "C" __attribute__((visibility("default"))) void* probeCoreAddress()
{
    return &CppLib::Singleton<Velta::VeltaCore>::getSingleton();
}

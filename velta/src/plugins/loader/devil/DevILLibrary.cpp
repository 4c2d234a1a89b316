#include "plugins/loader/devil/DevILLibrary.h"

#include <IL/il.h>
#include <IL/ilu.h>

namespace Velta {

namespace {

unsigned int users = 0;
unsigned long long currentRun = 0;
unsigned long long lastRun = 0;

} // namespace

void DevILLibrary::acquire()
{
    if (users++ > 0) {
        return;
    }
    ilInit();
    iluInit();
    // Formats store their rows either way up; the engine reads every image
    // top row first, as PNG and PCX store them.
    ilEnable(IL_ORIGIN_SET);
    ilOriginFunc(IL_ORIGIN_UPPER_LEFT);
    currentRun = ++lastRun;
}

void DevILLibrary::release()
{
    if (users == 0 || --users > 0) {
        return;
    }
    ilShutDown();
    currentRun = 0;
}

unsigned long long DevILLibrary::getRun()
{
    return currentRun;
}

} // namespace Velta

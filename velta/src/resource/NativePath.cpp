#include "resource/NativePath.h"

#include <algorithm>

namespace Velta {

std::string NativePath::fromResourcePath(const std::string& resourcePath)
{
    std::string native = resourcePath;
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

} // namespace Velta

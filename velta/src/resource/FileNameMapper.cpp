#include "resource/FileNameMapper.h"

#include <algorithm>

namespace Velta {

NameMapper::ResourceInfo FileNameMapper::map(const std::string& name) const
{
    std::string relative = name;
    std::replace(relative.begin(), relative.end(), '/', '\\');
    const std::string fileName = mDirectory + '\\' + relative;

    // The backslash after the directory always ends the scan, so a dot in the
    // directory never makes an extension.
    std::string extension;
    const size_t separatorOrDot = fileName.find_last_of(".\\");
    if (separatorOrDot != std::string::npos && fileName[separatorOrDot] == '.') {
        extension = fileName.substr(separatorOrDot + 1);
    }
    return ResourceInfo{name, fileName, extension};
}

} // namespace Velta

#include "resource/ResourceFile.h"

#include "resource/NativePath.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace Velta {

bool ResourceFile::readAll(const std::string& resourcePath, std::vector<unsigned char>& bytes)
{
    bytes.clear();
    if (!exists(resourcePath)) {
        return false;
    }
    std::ifstream file(NativePath::fromResourcePath(resourcePath), std::ios::binary);
    if (!file) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) {
        bytes.clear();
        return false;
    }
    return true;
}

bool ResourceFile::exists(const std::string& resourcePath)
{
    std::error_code error;
    return std::filesystem::is_regular_file(NativePath::fromResourcePath(resourcePath), error);
}

} // namespace Velta

#include "resource/ResourceFile.h"

#include "resource/NativePath.h"

#include <filesystem>
#include <fstream>

namespace Velta {

bool ResourceFile::readAll(const std::string& resourcePath, std::vector<unsigned char>& bytes)
{
    bytes.clear();
    if (!exists(resourcePath)) {
        return false;
    }
    std::ifstream file(NativePath::fromResourcePath(resourcePath), std::ios::binary | std::ios::ate);
    if (!file) {
        return false;
    }
    // One read of the size found at the end; a file that changes meanwhile
    // gives what could be read.
    const std::streamoff size = file.tellg();
    if (size < 0 || !file.seekg(0)) {
        return false;
    }
    bytes.resize(static_cast<size_t>(size));
    file.read(reinterpret_cast<char*>(bytes.data()), size);
    bytes.resize(static_cast<size_t>(file.gcount()));
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

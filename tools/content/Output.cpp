#include "Output.h"

#include "ImageFile.h"

#include <filesystem>
#include <system_error>

namespace VeltaTools {

Output::Output(std::string root) : mRoot(std::move(root)) {}

std::string Output::fullPath(const std::string& relative) const
{
    return (std::filesystem::path(mRoot) / relative).string();
}

bool Output::makeDirectory(const std::string& relative)
{
    std::error_code error;
    std::filesystem::create_directories(fullPath(relative), error);
    if (error) {
        mOk = false;
        mFailures.push_back(relative);
        return false;
    }
    return true;
}

void Output::record(const std::string& relative, bool written)
{
    if (!written) {
        mOk = false;
        mFailures.push_back(relative);
        return;
    }
    std::error_code error;
    const auto size = std::filesystem::file_size(fullPath(relative), error);
    mEntries.push_back(Entry{relative, error ? 0 : static_cast<std::size_t>(size)});
}

bool Output::writePng(const std::string& relative, const Image& image, bool alpha)
{
    const bool written = VeltaTools::writePng(fullPath(relative), image, alpha);
    record(relative, written);
    return written;
}

bool Output::writeBytes(const std::string& relative, const std::vector<std::uint8_t>& bytes)
{
    const bool written = writeFileBytes(fullPath(relative), bytes);
    record(relative, written);
    return written;
}

} // namespace VeltaTools

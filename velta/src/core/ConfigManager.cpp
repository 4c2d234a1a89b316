#include "core/ConfigManager.h"

namespace Velta {

int ConfigManager::parseArguments(const CppLib::Vector<std::string>& arguments, bool)
{
    mArguments = arguments;
    return 0;
}

bool ConfigManager::loadConfiguration(const std::string& filename)
{
    mFilename = filename;
    return true;
}

} // namespace Velta

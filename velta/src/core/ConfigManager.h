#pragma once

#include "VeltaExport.h"
#include "cpplib/Vector.h"

#include <string>

namespace Velta {

/// Receives the host's command line and configuration file name. The engine
/// defines no options and reads no configuration keys; it keeps what it is
/// given so that a host can read it back.
class VELTA_EXPORT ConfigManager {
public:
    /// Keeps the arguments; answers 0 (success) for any arguments.
    int parseArguments(const CppLib::Vector<std::string>& arguments, bool flag = false);

    /// Answers true for any file name; no key is read.
    bool loadConfiguration(const std::string& filename);

    void setConfigurationFilename(const std::string& filename) { mFilename = filename; }
    void clearArguments() { mArguments.clear(); }

    const CppLib::Vector<std::string>& getArguments() const { return mArguments; }
    const std::string& getConfigurationFilename() const { return mFilename; }

private:
    CppLib::Vector<std::string> mArguments;
    std::string mFilename;
};

} // namespace Velta

#pragma once

#include "VeltaExport.h"
#include "cpplib/Logger.h"

namespace Velta {

/// Drops every message: the logger of whoever has nowhere to log (before
/// the core starts, after it shuts down) or wants no output.
class VELTA_EXPORT SilentLogger : public CppLib::Logger {
public:
    void fatal(const std::string& message) override;
    void error(const std::string& message) override;
    void warn(const std::string& message) override;
    void info(const std::string& message) override;
    void debug(const std::string& message) override;
};

} // namespace Velta

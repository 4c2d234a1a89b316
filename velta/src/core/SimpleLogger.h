#pragma once

#include "VeltaExport.h"
#include "cpplib/Logger.h"

namespace Velta {

/// Writes every message, at every level, as one line on standard error with
/// no prefix.
class VELTA_EXPORT SimpleLogger : public CppLib::Logger {
public:
    void fatal(const std::string& message) override;
    void error(const std::string& message) override;
    void warn(const std::string& message) override;
    void info(const std::string& message) override;
    void debug(const std::string& message) override;
};

} // namespace Velta

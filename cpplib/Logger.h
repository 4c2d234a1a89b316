#pragma once

#include <string>

namespace CppLib {

/// A named destination for diagnostic messages, in five levels from most to
/// least severe. Logging never reports failure to its caller.
class Logger {
public:
    virtual ~Logger() = default;

    virtual void fatal(const std::string& message) = 0;
    virtual void error(const std::string& message) = 0;
    virtual void warn(const std::string& message) = 0;
    virtual void info(const std::string& message) = 0;
    virtual void debug(const std::string& message) = 0;
};

} // namespace CppLib

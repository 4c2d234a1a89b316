#pragma once

#include "cpplib/Logger.h"
#include "cpplib/SharedPtr.h"

#include <string>

namespace CppLib {

/// A source of loggers by dotted name, installed into the log manager by a host
/// that wants its own destinations or formats. Owned by the host.
class LogBackend {
public:
    virtual void initialize() = 0;
    virtual bool isInitialized() = 0;
    virtual SharedPtr<Logger> getLogger(const std::string& name) = 0;

protected:
    ~LogBackend() = default;
};

} // namespace CppLib

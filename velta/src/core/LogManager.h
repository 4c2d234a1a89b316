#pragma once

#include "VeltaExport.h"
#include "cpplib/LogBackend.h"
#include "cpplib/Logger.h"
#include "cpplib/SharedPtr.h"

#include <string>

namespace Velta {

/// Hands out loggers by dotted name ("terrain", "loader.ms3d.objectloader").
/// Without a back end every name yields the same logger, which writes to
/// standard error. A logger share outlives the log manager.
class VELTA_EXPORT LogManager {
public:
    LogManager();
    ~LogManager();

    CppLib::SharedPtr<CppLib::Logger> getLogger(const std::string& name);

    /// Initialises `backend` when it is not yet and routes every later
    /// getLogger() to it. The backend stays the caller's.
    void registerBackend(CppLib::LogBackend& backend);

private:
    CppLib::LogBackend* mBackend = nullptr;
    CppLib::SharedPtr<CppLib::Logger> mDefaultLogger;
};

} // namespace Velta

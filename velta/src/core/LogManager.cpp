#include "core/LogManager.h"

#include "core/SimpleLogger.h"

namespace Velta {

LogManager::LogManager() : mDefaultLogger(new SimpleLogger()) {}

LogManager::~LogManager() = default;

CppLib::SharedPtr<CppLib::Logger> LogManager::getLogger(const std::string& name)
{
    if (mBackend) {
        // A back end without a logger for this name gets the default one
        // rather than handing the caller an empty pointer.
        CppLib::SharedPtr<CppLib::Logger> logger = mBackend->getLogger(name);
        if (!logger.isNull()) {
            return logger;
        }
    }
    return mDefaultLogger;
}

void LogManager::registerBackend(CppLib::LogBackend& backend)
{
    if (!backend.isInitialized()) {
        backend.initialize();
    }
    mBackend = &backend;
}

} // namespace Velta

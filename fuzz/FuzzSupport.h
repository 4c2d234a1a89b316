#pragma once

#include "core/LogManager.h"
#include "core/VeltaCore.h"
#include "cpplib/LogBackend.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace VeltaFuzz {

/// Loggers that drop every line: a harness refuses most of its inputs, and
/// a line each would cost more than the parsing.
class SilentLogs : public CppLib::LogBackend {
public:
    void initialize() override { mInitialized = true; }
    bool isInitialized() override { return mInitialized; }
    CppLib::SharedPtr<CppLib::Logger> getLogger(const std::string&) override { return mLogger; }

private:
    class Silent : public CppLib::Logger {
        void fatal(const std::string&) override {}
        void error(const std::string&) override {}
        void warn(const std::string&) override {}
        void info(const std::string&) override {}
        void debug(const std::string&) override {}
    };

    bool mInitialized = false;
    CppLib::SharedPtr<CppLib::Logger> mLogger{new Silent()};
};

/// The core, started once for the whole run with silent logs; it stays up
/// until the process ends.
inline Velta::VeltaCore& startedCore()
{
    static SilentLogs logs;
    Velta::VeltaCore& core = Velta::VeltaCore::getSingleton();
    if (!core.isStarted()) {
        core.startup();
        core.getLogManager().registerBackend(logs);
    }
    return core;
}

inline std::vector<unsigned char> bytesOf(const uint8_t* data, size_t size)
{
    return std::vector<unsigned char>(data, data + size);
}

} // namespace VeltaFuzz

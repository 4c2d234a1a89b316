#include "core/SilentLogger.h"

namespace Velta {

void SilentLogger::fatal(const std::string&) {}
void SilentLogger::error(const std::string&) {}
void SilentLogger::warn(const std::string&) {}
void SilentLogger::info(const std::string&) {}
void SilentLogger::debug(const std::string&) {}

} // namespace Velta

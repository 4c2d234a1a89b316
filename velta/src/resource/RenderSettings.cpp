#include "resource/RenderSettings.h"

namespace Velta {

RenderSettings::RenderSettings() = default;

RenderSettings::~RenderSettings() = default;

} // namespace Velta

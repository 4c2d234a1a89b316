#include "scene/MetaCamera.h"

namespace Velta {

MetaCamera::MetaCamera() = default;

MetaCamera::MetaCamera(const std::string& name) : Camera(name) {}

MetaCamera::~MetaCamera() = default;

} // namespace Velta

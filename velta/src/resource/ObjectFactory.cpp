#include "resource/ObjectFactory.h"

namespace Velta {

ObjectFactory::~ObjectFactory() = default;

} // namespace Velta

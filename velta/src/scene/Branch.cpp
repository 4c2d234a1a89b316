#include "scene/Branch.h"

namespace Velta {

Branch::Branch() : Group(BRANCH) {}

Branch::Branch(const std::string& name) : Group(BRANCH, name) {}

Branch::Branch(const std::string& name, const std::string& uniqueName) : Group(BRANCH, name, uniqueName) {}

Branch::~Branch() = default;

} // namespace Velta

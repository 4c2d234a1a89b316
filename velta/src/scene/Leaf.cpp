#include "scene/Leaf.h"

namespace Velta {

Leaf::Leaf(NodeType type) : Node(type) {}

Leaf::Leaf(NodeType type, const std::string& name) : Node(type, name) {}

Leaf::Leaf(NodeType type, const std::string& name, const std::string& uniqueName) : Node(type, name, uniqueName) {}

Leaf::~Leaf() = default;

} // namespace Velta

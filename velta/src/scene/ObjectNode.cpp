#include "scene/ObjectNode.h"

namespace Velta {

ObjectNode::ObjectNode() : Group(OBJECT) {}

ObjectNode::ObjectNode(const std::string& name) : Group(OBJECT, name) {}

ObjectNode::~ObjectNode() = default;

} // namespace Velta

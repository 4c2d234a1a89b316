#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "scene/Group.h"

namespace Velta {

class Material;

/// A group that stands for one drawable object (a model, the terrain, the
/// water): the drawables below it fall back to its default materials.
class VELTA_EXPORT ObjectNode : public Group {
public:
    ObjectNode();
    explicit ObjectNode(const std::string& name);
    ~ObjectNode() override;

    /// The material for material index `index` of drawables that carry none
    /// of their own; empty when the object has none either.
    virtual CppLib::SharedPtr<Material> getDefaultMaterial(unsigned int index) = 0;
};

} // namespace Velta

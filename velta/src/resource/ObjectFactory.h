#pragma once

#include "VeltaExport.h"

#include <string>

namespace Velta {

class ObjectNode;

/// Makes scene objects of one loaded model. Every object a factory makes
/// shares the factory's geometry and materials, which stay alive as long as
/// the factory or any of its objects does.
///
/// Made by an ObjectLoader and kept by the object manager under the model's
/// name.
class VELTA_EXPORT ObjectFactory {
public:
    virtual ~ObjectFactory();

    /// The model name the factory was loaded for ("banana.ms3d").
    virtual const std::string& getName() const = 0;

    /// A new object of the model, owned by the caller (delete it, or hand it
    /// to whoever owns the scene's nodes). Never null.
    virtual ObjectNode* createObject() = 0;
};

} // namespace Velta

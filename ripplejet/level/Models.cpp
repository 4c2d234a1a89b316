#include "level/Models.h"

#include "core/VeltaCore.h"
#include "geometry/GeometryData.h"
#include "geometry/GeometryManager.h"
#include "geometry/VertexWelder.h"
#include "resource/ObjectManager.h"
#include "resource/ResourceManager.h"
#include "scene/ObjectNode.h"

namespace Ripplejet {

Velta::ObjectNode* Models::create(const std::string& file)
{
    Velta::ResourceManager& resources = Velta::VeltaCore::getSingleton().getResourceManager();
    Velta::ObjectManager& objects = resources.getObjectManager();
    const bool firstRead = !objects.isLoaded(file);
    Velta::ObjectNode* model = objects.createObject(file);
    if (model && firstRead) {
        // Every object of the file shares this geometry.
        const CppLib::SharedPtr<Velta::Geometry> geometry = resources.getGeometryManager().getGeometry(file);
        if (auto* data = dynamic_cast<Velta::GeometryData*>(geometry.get())) {
            Velta::VertexWelder::weld(*data);
        }
    }
    return model;
}

} // namespace Ripplejet

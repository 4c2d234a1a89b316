#include "level/Models.h"

#include "core/VeltaCore.h"
#include "geometry/ClosedSurface.h"
#include "geometry/GeometryData.h"
#include "geometry/GeometryGroup.h"
#include "geometry/GeometryManager.h"
#include "geometry/VertexWelder.h"
#include "resource/Material.h"
#include "resource/ObjectManager.h"
#include "resource/ResourceManager.h"
#include "scene/ObjectNode.h"

namespace Ripplejet {

namespace {

/// Only the fronts of a closed surface can be seen: its materials leave the
/// backs out.
void hideBackFaces(Velta::ObjectNode& model, const Velta::Geometry& geometry)
{
    for (const Velta::GeometryGroup* group : geometry.getElementGroups()) {
        const CppLib::SharedPtr<Velta::Material> material =
            group ? model.getDefaultMaterial(group->getMaterialIndex()) : CppLib::SharedPtr<Velta::Material>();
        if (!material.isNull()) {
            material->setCullBackFaces(true);
        }
    }
}

} // namespace

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
        // The file's objects share its materials: set once, they serve all.
        if (!geometry.isNull() && Velta::ClosedSurface::isClosed(*geometry)) {
            hideBackFaces(*model, *geometry);
        }
    }
    return model;
}

} // namespace Ripplejet

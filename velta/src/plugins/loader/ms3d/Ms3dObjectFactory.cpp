#include "plugins/loader/ms3d/Ms3dObjectFactory.h"

#include "geometry/GeometryData.h"
#include "geometry/GeometryObject.h"
#include "geometry/GeometrySubobject.h"
#include "resource/Material.h"

#include <memory>

namespace Velta {

Ms3dObjectFactory::Ms3dObjectFactory(const std::string& name, const CppLib::SharedPtr<GeometryData>& geometry,
                                     const CppLib::Vector<CppLib::SharedPtr<Material>>& materials)
    : mGeometry(geometry), mMaterials(materials), mName(name)
{
}

Ms3dObjectFactory::~Ms3dObjectFactory() = default;

ObjectNode* Ms3dObjectFactory::createObject()
{
    GeometryObject* object = new GeometryObject(mName);
    GeometrySubobject* subobject = object->addSubobject(std::make_unique<GeometrySubobject>(mName));
    subobject->setGeometry(mGeometry, 0);
    for (unsigned int i = 0; i < mMaterials.getSize(); ++i) {
        object->setDefaultMaterial(i, mMaterials[static_cast<int>(i)]);
    }
    return object;
}

} // namespace Velta

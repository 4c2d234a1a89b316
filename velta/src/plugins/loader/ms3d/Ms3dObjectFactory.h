#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/Vector.h"
#include "resource/ObjectFactory.h"

#include <string>

namespace Velta {

class GeometryData;
class Material;

/// Makes objects of one loaded MS3D model: each is a GeometryObject with one
/// GeometrySubobject showing the shared geometry, and the model's materials
/// as the object's default materials 0, 1, … in file order (shared too).
class VELTA_EXPORT Ms3dObjectFactory : public ObjectFactory {
public:
    Ms3dObjectFactory(const std::string& name, const CppLib::SharedPtr<GeometryData>& geometry,
                      const CppLib::Vector<CppLib::SharedPtr<Material>>& materials);
    ~Ms3dObjectFactory() override;

    const std::string& getName() const override { return mName; }

    /// A new GeometryObject named after the model.
    ObjectNode* createObject() override;

    const CppLib::SharedPtr<GeometryData>& getGeometry() const { return mGeometry; }
    const CppLib::Vector<CppLib::SharedPtr<Material>>& getMaterials() const { return mMaterials; }

private:
    CppLib::SharedPtr<GeometryData> mGeometry;
    CppLib::Vector<CppLib::SharedPtr<Material>> mMaterials;
    std::string mName;
};

} // namespace Velta

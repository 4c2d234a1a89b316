#pragma once

#include "VeltaExport.h"
#include "resource/ObjectLoader.h"

#include <vector>

namespace Velta {

class Ms3dModel;

/// Reads model files in the binary MS3D layout (versions 3 and 4) into
/// object factories: one geometry whose vertices are the triangles' corners
/// in file order (normals and one layer of texture coordinates), one element
/// group per group of the file with its material index (all ones for none),
/// and one material per material of the file, textured on unit 0 when it
/// names an image the texture manager finds.
///
/// Damaged files are refused with one line on the "loader.ms3d.objectloader"
/// logger; no file is read past its end. Created and owned by the MS3D
/// plug-in; the object manager borrows it.
class VELTA_EXPORT Ms3dObjectLoader : public ObjectLoader {
public:
    Ms3dObjectLoader();
    ~Ms3dObjectLoader() override;

    bool isInitialized() const override { return mInitialized; }
    bool initialize() override;
    bool shutdown() override;

    /// True exactly for the extension "ms3d" (case-sensitive).
    bool canLoad(const NameMapper::ResourceInfo& info) const override;

    /// Reads the file named by `info` and builds the model; the geometry is
    /// also registered with the geometry manager under the model's name.
    CppLib::SharedPtr<ObjectFactory> load(const NameMapper::ResourceInfo& info) override;

    /// The same for the file's bytes, already read; `info` names the model
    /// and the file in what is logged.
    CppLib::SharedPtr<ObjectFactory> load(const NameMapper::ResourceInfo& info,
                                          const std::vector<unsigned char>& bytes);

private:
    bool mInitialized = false;
};

} // namespace Velta

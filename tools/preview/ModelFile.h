#pragma once

#include "Rasteriser.h"

#include <string>
#include <vector>

namespace VeltaTools {

/// A model file read back for the preview: triangles with corner data and
/// the texture name of each triangle's group (empty for none).
struct ModelFile {
    struct Triangle {
        RasterVertex corners[3];
        std::string texture;
        Rgba diffuse{1, 1, 1, 1};
    };
    std::vector<Triangle> triangles;
};

/// Reads the MS3D layout the generator writes; false on a short or foreign file.
bool readModelFile(const std::string& path, ModelFile& model);

} // namespace VeltaTools

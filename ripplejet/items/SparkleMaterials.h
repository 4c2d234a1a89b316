#pragma once

#include "cpplib/SharedPtr.h"

#include <string>
#include <vector>

namespace Velta {
class Material;
class Texture;
} // namespace Velta

namespace Ripplejet {

/// The point-sprite materials of the items' sparkles, one for each sprite
/// image and size, shared by every item that shows it, with one texture for
/// each image. Fifty items then bind one texture instead of fifty, and the
/// renderer, which draws the sparkles one after another, changes its state
/// only where the size changes: on the software renderer a change of
/// texture costs more than drawing the ten sparkles it is for.
///
/// Owned by the level; the items hold what it hands out.
class SparkleMaterials {
public:
    /// The material drawing `sprite` (a texture file) as point sprites of
    /// `size` pixels: made on the first call for the pair, the same one
    /// after; materials of one sprite share its texture. A sprite that
    /// cannot be read gives a material without a texture (the texture
    /// manager logs it once).
    CppLib::SharedPtr<Velta::Material> get(const std::string& sprite, float size);

    std::size_t getCount() const { return mMaterials.size(); }

private:
    static CppLib::SharedPtr<Velta::Texture> makeTexture(const std::string& sprite);

    struct Kept {
        std::string sprite;
        float size;
        CppLib::SharedPtr<Velta::Material> material;
    };

    std::vector<Kept> mMaterials;
};

} // namespace Ripplejet

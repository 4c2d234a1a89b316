#pragma once

#include "cpplib/SharedPtr.h"

namespace Velta {
class TextureProxy;
class TextureSource;
} // namespace Velta

namespace Ripplejet {

/// The display's images as the texture manager gives them, with what stands
/// in for a missing one: the texture manager reports a missing file once,
/// and the display goes on without that picture instead of showing an
/// untextured (white) quad in its place.
class OverlayImages {
public:
    /// The image of that name; empty when it is missing.
    static CppLib::SharedPtr<Velta::TextureSource> find(const char* name);

    /// The image of that name, or a transparent pixel in its place.
    static CppLib::SharedPtr<Velta::TextureSource> load(const char* name);

    /// An editable copy of the image of that name, to draw glyphs into; a
    /// transparent `width` × `height` image when it is missing.
    static CppLib::SharedPtr<Velta::TextureProxy> editableCopy(const char* name, unsigned int width,
                                                               unsigned int height);

    /// `image` itself when it is RGBA bytes (what glyphs and icons are
    /// copied between), else an RGBA copy of it; empty for an empty image.
    static CppLib::SharedPtr<Velta::TextureSource> asRgba(const CppLib::SharedPtr<Velta::TextureSource>& image);
};

} // namespace Ripplejet

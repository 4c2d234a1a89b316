#pragma once

#include <string>

namespace Velta {
class ObjectNode;
} // namespace Velta

namespace Ripplejet {

/// Where the game's models come from: the object manager's, with the
/// corners their files repeat shared once when a file is first read (the
/// software renderer shades every vertex it is given, and the ducks and the
/// fifty items are most of the vertices of a frame). A model whose surface
/// is closed and wound outward (Velta::ClosedSurface) has its materials leave
/// out back faces, which the renderer would otherwise set up and test for
/// nothing.
class Models {
public:
    /// A new object of the model file `file` (owned by the caller); null,
    /// with one line from the object manager, when it cannot be read.
    static Velta::ObjectNode* create(const std::string& file);
};

} // namespace Ripplejet

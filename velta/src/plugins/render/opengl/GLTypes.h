#pragma once

#include "VeltaExport.h"
#include "cpplib/Color.h"
#include "cpplib/Matrix.h"
#include "geometry/DataType.h"
#include "geometry/GeometryElement.h"

namespace Velta {

/// How engine types and matrices map onto OpenGL. The values returned are
/// OpenGL enumerants (GLenum).
class VELTA_EXPORT GLTypes {
public:
    /// The OpenGL type of an element type; GL_BYTE for NONE and unknown values.
    static unsigned int getType(DataType::Type type);

    /// The OpenGL primitive of an element type; GL_POINTS for unknown values.
    static unsigned int getPrimitive(GeometryElement::ElementType type);

    /// The OpenGL pixel format of an image's colour format and the internal
    /// format it is kept in: luminance for single-channel and luminance
    /// images, RGB and RGBA as they are, BGR and BGRA read in their own
    /// order and kept as RGB and RGBA. False for an unknown format or one
    /// whose channel count does not match.
    static bool getPixelFormat(Color::Format format, unsigned int channels, unsigned int& internalFormat,
                               unsigned int& pixelFormat);

    /// Whether OpenGL can read image components of this type.
    static bool isPixelType(DataType::Type type);

    /// Engine matrices are row-major with column vectors; OpenGL reads
    /// column-major. These load or multiply the current OpenGL matrix by `m`.
    static void loadMatrix(const CppLib::Matrix<float, 4>& m);
    static void multMatrix(const CppLib::Matrix<float, 4>& m);

    /// The error text OpenGL gives for `error`.
    static const char* getErrorString(unsigned int error);
};

} // namespace Velta

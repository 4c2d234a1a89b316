#pragma once

#include "VeltaExport.h"
#include "cpplib/Color.h"
#include "geometry/DataType.h"

#include <string>

namespace Velta {

class TextureInfo;

/// Maps DevIL's image layouts to the engine's and brings the image bound in
/// DevIL into a layout a renderer can upload: RGB, RGBA or luminance, of a
/// data type OpenGL takes for pixels.
class VELTA_EXPORT DevILImageLayout {
public:
    /// DevIL's format constant as a colour format; UNKNOWN for the others.
    static Color::Format toColorFormat(unsigned int ilFormat);

    /// DevIL's type constant as a data type; NONE for the others.
    static DataType::Type toDataType(unsigned int ilType);

    /// Converts the bound image in place. Colour-index images take the
    /// colours of their palette (luminance when every colour used is an
    /// opaque grey, so that a grey image keeps its values); BGR and BGRA
    /// become RGB and RGBA; any other layout becomes RGBA. Doubles become
    /// floats and types OpenGL does not take become unsigned bytes. False,
    /// with `problem` set, when the image cannot be converted.
    static bool makeUploadable(std::string& problem);

    /// The layout of the bound image. False, with `problem` set, when the
    /// layout is not one the engine knows or DevIL's pixel block does not
    /// have exactly the size the layout needs.
    static bool describe(TextureInfo& info, std::string& problem);

private:
    static bool expandPalette(std::string& problem);
};

} // namespace Velta

#pragma once

#include "VeltaExport.h"

namespace Velta {

/// Element types of vertex, index and pixel data, with their sizes and names.
class VELTA_EXPORT DataType {
public:
    enum Type : int {
        NONE = 0,
        FLOAT = 1,
        DOUBLE = 2,
        INT = 3,
        BYTE = 4,
        SHORT = 5,
        BOOL = 6,
        UNSIGNED_BYTE = 7,
        UNSIGNED_SHORT = 8,
        UNSIGNED_INT = 9
    };

    /// Bytes of one element; 0 for NONE and for values outside the enumeration.
    static unsigned int getSize(Type type);

    /// Display name ("Unsigned Int"); empty for values outside the enumeration.
    static const char* getName(Type type);
};

} // namespace Velta

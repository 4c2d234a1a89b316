#pragma once

#include "VeltaExport.h"

namespace Velta {

class GeometryData;

/// Merges the vertices of a geometry that agree in everything they carry
/// (position, colours, normal, fog coordinate and every set of texture
/// coordinates, bit for bit) and points the index lists at the one kept.
///
/// The picture stays exactly the same, but a renderer that shades each
/// vertex of a draw once shades far fewer: model files give every corner of
/// every triangle a vertex of its own, three times as many as a smooth model
/// has. On a software renderer the corners of the race's ducks and items
/// were a seventh of the work its main thread does for a frame.
class VELTA_EXPORT VertexWelder {
public:
    /// Welds the indexed vertex data of `geometry` when it holds floats only
    /// and every element of its groups is an index list of unsigned ints;
    /// otherwise (or with nothing to merge) leaves it as it is. Replaces the
    /// vertex data with a new set, so do it before the geometry is drawn or
    /// copied. Answers the number of vertices after (0 without vertex data).
    static unsigned int weld(GeometryData& geometry);
};

} // namespace Velta

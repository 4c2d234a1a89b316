#pragma once

#include "VeltaExport.h"
#include "cpplib/Vector.h"
#include "geometry/GeometryGroup.h"

namespace Velta {

class IndexElementData;
class TerrainBlock;

/// The quads of a terrain block that show the same coats (the tile's base
/// map and texture layers), at each of the block's levels of detail: one
/// element group, drawn with the tile's material less the coats it leaves
/// out, so that no texture unit is spent where its layer cannot be seen.
///
/// Made and owned by its block, which chooses what it draws.
class VELTA_EXPORT TerrainBlockPart : public GeometryGroup {
public:
    /// Levels of detail a block draws.
    static constexpr unsigned int LEVELS = 3;

    TerrainBlockPart(const TerrainBlock& block, unsigned int leftOut);
    ~TerrainBlockPart() override;

    TerrainBlockPart(const TerrainBlockPart&) = delete;
    TerrainBlockPart& operator=(const TerrainBlockPart&) = delete;

    /// The coats its quads do not show, which is also its material index on
    /// the patch: 0 for the whole material.
    unsigned int getLeftOut() const { return mLeftOut; }
    unsigned int getMaterialIndex() const override { return mLeftOut; }

    /// What the block draws of it now; empty when it has no quads at the
    /// block's level.
    CppLib::Vector<GeometryElement*>& getElementList(int) override { return mDrawn; }
    const CppLib::Vector<GeometryElement*>& getElementList(int) const override { return mDrawn; }

    /// The block's bounds.
    const BoundingBox* getBounds() const override;

    /// The strips of every level and, for the first part, every seam of
    /// the block.
    void collectAllElements(CppLib::Vector<GeometryElement*>& elements) const override;

    /// Takes the strip of its quads at `level` (null: none there).
    void setStrip(unsigned int level, IndexElementData* strip);
    IndexElementData* getStrip(unsigned int level) const;

    /// Draws the strip of `level`, then `extras` (borrowed from the block).
    void show(unsigned int level, const CppLib::Vector<GeometryElement*>& extras);

private:
    const TerrainBlock* mBlock;
    unsigned int mLeftOut;
    IndexElementData* mStrips[LEVELS] = {};
    CppLib::Vector<GeometryElement*> mDrawn;
};

} // namespace Velta

#pragma once

#include "VeltaExport.h"
#include "cpplib/Color.h"
#include "cpplib/SharedPtr.h"
#include "resource/TextureInfo.h"
#include "resource/TextureSource.h"

#include <vector>

namespace Velta {

/// An editable image of RGBA unsigned bytes (one slice, rows of width
/// pixels, r g b a per pixel) that reports its own changes, so that a
/// texture built on it is uploaded again after each edit.
///
/// Made either filled with one colour, to be painted with rectangles copied
/// from other images (on-screen text, item strips), or as the combination of
/// two images: the colour of one, scaled and offset, with the alpha taken
/// from one channel of the other (the terrain's light map).
///
/// Made while the core runs (edits are stamped with the timer manager's
/// time); shared through SharedPtr.
class VELTA_EXPORT TextureProxy : public TextureSource {
public:
    /// A `width` × `height` image filled with `color`. An image of more than
    /// 1 GiB, or too large to allocate, is left empty (0 × 0, no pixels).
    TextureProxy(unsigned int width, unsigned int height, const Color& color);

    /// An image the size of `colorSource`: its colours × `scale` + `offset`,
    /// and alpha from component `channel` (0 r, 1 g, 2 b, 3 a) of
    /// `alphaSource`, sampled at the same relative position when the sizes
    /// differ. Without an alpha source the colour source's own alpha is
    /// kept; without a colour source the image is empty (no pixels).
    TextureProxy(const CppLib::SharedPtr<TextureSource>& colorSource,
                 const CppLib::SharedPtr<TextureSource>& alphaSource, float scale, float offset,
                 unsigned int channel);

    ~TextureProxy() override;

    const TextureInfo& getTextureInfo() const override { return mInfo; }

    /// True when copyRect() ran at or after `timestamp`.
    bool hasChanged(long long timestamp) const override { return mChangeTime >= timestamp; }

    /// Null when the image is empty.
    const void* getTextureData() const override { return mData.empty() ? nullptr : mData.data(); }
    const void* getPixel(unsigned int x, unsigned int y, unsigned int z) const override;
    bool copyData(unsigned int, unsigned int, unsigned int, unsigned int, unsigned int, unsigned int,
                  void*) const override
    {
        return false;
    }

    /// (value × scale + offset) × 255 truncated to a byte, clamped to
    /// 0 … 255 (NaN gives 0).
    virtual unsigned char getPixelValue(float value, float scale, float offset) const;

    /// Copies the `width` × `height` rectangle at (srcX, srcY) of `source`
    /// to (dstX, dstY) of this image. Only an image of the same colour format
    /// and data type (RGBA unsigned bytes) is copied; the rectangle is
    /// clipped to both images, so nothing outside either is read or written.
    /// The z coordinates and the depth are not used.
    ///
    /// False, with nothing changed, for an empty source. Otherwise true and
    /// the image counts as changed now, even when the formats differ or the
    /// rectangle lies outside either image and nothing was copied.
    bool copyRect(const CppLib::SharedPtr<TextureSource>& source, unsigned int dstX, unsigned int dstY,
                  unsigned int dstZ, unsigned int srcX, unsigned int srcY, unsigned int srcZ, unsigned int width,
                  unsigned int height, unsigned int depth);

    /// A rectangle of the image, in pixels from the top left.
    struct Region {
        unsigned int x = 0;
        unsigned int y = 0;
        unsigned int width = 0;
        unsigned int height = 0;
    };

    /// Separate rectangles remembered between two forgetChangedRegions();
    /// one more is merged with them into their bounding box.
    static constexpr unsigned int MAX_REGIONS = 8;

    /// Which edition of the pixels this is: a number that grows with every
    /// copyRect() that writes pixels. Numbers are unique among all proxies
    /// of a run, so one read from another image never matches this one's.
    unsigned long long getRevision() const { return mRevision; }

    /// The rectangles written after revision `since` (a getRevision() of
    /// this image read earlier), for a reader that copies only what changed:
    /// true with `count` rectangles at `regions` (0 when nothing was
    /// written since); they may cover a little more than what changed.
    /// False when the image no longer knows (`since` lies before the last
    /// forgetChangedRegions() or belongs to another image): then all of it
    /// counts as changed. `regions` stays valid until the next edit.
    bool getChangedRegions(unsigned long long since, const Region*& regions, unsigned int& count) const;

    /// Forgets the rectangles written so far, once a reader has taken them,
    /// so that they do not pile up into one large box. Another reader that
    /// has not yet taken them then copies the whole image.
    void forgetChangedRegions();

protected:
    void createData(unsigned int width, unsigned int height, const Color& color);
    void updateData(const CppLib::SharedPtr<TextureSource>& colorSource,
                    const CppLib::SharedPtr<TextureSource>& alphaSource, float scale, float offset,
                    unsigned int channel);

private:
    /// Sizes the block for an RGBA image of `width` × `height` × `depth`;
    /// false, with the image left empty, when it cannot be allocated.
    bool allocate(unsigned int width, unsigned int height, unsigned int depth);

    /// Starts a new edition whose earlier changes nobody can ask for.
    void startRevisions();
    void addChangedRegion(unsigned int x, unsigned int y, unsigned int width, unsigned int height);

    TextureInfo mInfo;
    long long mChangeTime = 0;
    std::vector<unsigned char> mData;
    unsigned long long mRevision = 0;
    /// mRegions holds every rectangle written after this revision.
    unsigned long long mRegionsSince = 0;
    Region mRegions[MAX_REGIONS];
    unsigned int mRegionCount = 0;
};

} // namespace Velta

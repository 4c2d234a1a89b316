#pragma once

#include "Image.h"

#include <string>

namespace VeltaTools {

/// One TrueType face rendered with FreeType's anti-aliased rasteriser.
/// Valid only when isLoaded(); drawing with a face that failed to load draws nothing.
class Font {
public:
    explicit Font(const std::string& path);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    bool isLoaded() const { return mFace != nullptr; }

    /// Horizontal scale applied to every glyph drawn or measured from now on
    /// (1 is the face's own width; below 1 gives condensed, taller-looking digits).
    void setHorizontalScale(float scale);

    /// Draws `text` with its baseline starting at (x, baseline), `pixelSize`
    /// pixels per em. Returns the advance in pixels.
    float drawText(Image& image, const std::string& text, float pixelSize, float x, float baseline,
                   const Rgba& colour);
    /// Width the text would take.
    float measure(const std::string& text, float pixelSize);
    /// Draws `text` centred horizontally on `centreX` with the ink box centred
    /// vertically on `centreY`.
    void drawCentred(Image& image, const std::string& text, float pixelSize, float centreX, float centreY,
                     const Rgba& colour);
    /// Draws a text outlined by `outline` pixels (a halo drawn first).
    void drawCentredOutlined(Image& image, const std::string& text, float pixelSize, float centreX, float centreY,
                             const Rgba& colour, const Rgba& outlineColour, float outline);
    /// Draws one character scaled so that its ink fills at most the box
    /// (x0, y0)-(x1, y1), centred in it; the ink never leaves the box.
    void drawFitted(Image& image, char character, float x0, float y0, float x1, float y1, const Rgba& colour);

    /// Largest pixel size at which the ink of every character of `characters`
    /// fits a box of `width` × `height` pixels.
    float fitSize(const std::string& characters, float width, float height);
    /// True when the ink of every character fits `width` × `height` at `pixelSize`.
    bool fits(const std::string& characters, float pixelSize, float width, float height);
    /// Draws one character at `pixelSize` with its ink centred in the box
    /// (x0, y0)-(x1, y1); with a size from fitSize the ink stays inside it.
    void drawInBox(Image& image, char character, float pixelSize, float x0, float y0, float x1, float y1,
                   const Rgba& colour);

    /// Ink bounds (top and bottom relative to the baseline, y down) of the text.
    void inkBounds(const std::string& text, float pixelSize, float& top, float& bottom);

private:
    void* mLibrary = nullptr;
    void* mFace = nullptr;
};

/// The default faces, from the fonts installed with the build dependencies.
std::string sansBoldFontPath();
std::string sansFontPath();
std::string monoBoldFontPath();

} // namespace VeltaTools

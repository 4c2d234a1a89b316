#pragma once

#include "cpplib/SharedPtr.h"
#include "resource/TextureSource.h"
#include "support/CoreFixture.h"
#include "testkit/ManualClock.h"

#include <filesystem>
#include <initializer_list>
#include <vector>

namespace RipplejetTest {

/// The character map as the game loads it ("text\CharMap.png" through the
/// texture manager); empty when it is missing.
CppLib::SharedPtr<Velta::TextureSource> loadCharMap();

/// Whether the rectangle at (x, y) of `image` holds glyph `glyph` of `style`
/// byte for byte, in its first `columns` columns (0: all of them). Glyph
/// rectangles are the content generator's, which drew the character map.
bool holdsGlyph(const Velta::TextureSource& image, int x, int y, const Velta::TextureSource& charMap, int style,
                int glyph, int columns = 0);

/// The digits held at (x, y) for each x, in `style`: −1 where no digit is.
std::vector<int> readDigits(const Velta::TextureSource& image, std::initializer_list<int> xs, int y,
                            const Velta::TextureSource& charMap, int style);

/// Where the generator put a glyph in the character map.
void glyphRect(int style, int glyph, int& x, int& y, int& width, int& height);

/// Red, green, blue, alpha of the image at (x, y) sampled as OpenGL's linear
/// filter does (texel centres at half pixels, edges clamped), 0 … 255.
void sampleLinear(const Velta::TextureSource& image, float x, float y, float rgba[4]);

/// A started, set-up core whose clock the test drives, working in the
/// directory the game's data is generated in (or in `directory`).
class GameDataFixture : public VeltaTest::CoreFixture {
protected:
    explicit GameDataFixture(std::filesystem::path directory = RIPPLEJET_BIN_DIR);
    void SetUp() override;
    void TearDown() override;

    VeltaTest::ManualClock mClock;

private:
    std::filesystem::path mDataDirectory;
    std::filesystem::path mWorkingDirectory = std::filesystem::current_path();
};

} // namespace RipplejetTest

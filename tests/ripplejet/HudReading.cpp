#include "HudReading.h"

#include "CharMap.h"
#include "core/TimerManager.h"
#include "resource/ResourceManager.h"
#include "resource/TextureManager.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace RipplejetTest {

CppLib::SharedPtr<Velta::TextureSource> loadCharMap()
{
    return Velta::VeltaCore::getSingleton().getResourceManager().getTextureManager().getTextureSource(
        "text\\CharMap.png");
}

void glyphRect(int style, int glyph, int& x, int& y, int& width, int& height)
{
    const VeltaTools::CharMap::Rect rect = VeltaTools::CharMap::glyphRect(style, glyph);
    x = rect.x;
    y = rect.y;
    width = rect.width;
    height = rect.height;
}

bool holdsGlyph(const Velta::TextureSource& image, int x, int y, const Velta::TextureSource& charMap, int style,
                int glyph, int columns)
{
    int sx = 0, sy = 0, width = 0, height = 0;
    glyphRect(style, glyph, sx, sy, width, height);
    const int compared = columns > 0 ? std::min(columns, width) : width;
    for (int row = 0; row < height; ++row) {
        const void* shown = image.getPixel(x, y + row, 0);
        const void* drawn = charMap.getPixel(sx, sy + row, 0);
        const void* shownEnd = image.getPixel(x + compared - 1, y + row, 0);
        if (!shown || !drawn || !shownEnd || std::memcmp(shown, drawn, 4 * compared) != 0) {
            return false;
        }
    }
    return true;
}

std::vector<int> readDigits(const Velta::TextureSource& image, std::initializer_list<int> xs, int y,
                            const Velta::TextureSource& charMap, int style)
{
    std::vector<int> digits;
    for (int x : xs) {
        int found = -1;
        for (int digit = 0; digit < 10 && found < 0; ++digit) {
            if (holdsGlyph(image, x, y, charMap, style, digit)) {
                found = digit;
            }
        }
        digits.push_back(found);
    }
    return digits;
}

void sampleLinear(const Velta::TextureSource& image, float x, float y, float rgba[4])
{
    const int width = static_cast<int>(image.getTextureInfo().getWidth());
    const int height = static_cast<int>(image.getTextureInfo().getHeight());
    const float fx = x - 0.5f;
    const float fy = y - 0.5f;
    const int x0 = static_cast<int>(std::floor(fx));
    const int y0 = static_cast<int>(std::floor(fy));
    const float ax = fx - static_cast<float>(x0);
    const float ay = fy - static_cast<float>(y0);
    const auto texel = [&](int tx, int ty) {
        tx = std::clamp(tx, 0, width - 1);
        ty = std::clamp(ty, 0, height - 1);
        return static_cast<const unsigned char*>(image.getPixel(static_cast<unsigned int>(tx),
                                                                static_cast<unsigned int>(ty), 0));
    };
    const unsigned char* a = texel(x0, y0);
    const unsigned char* b = texel(x0 + 1, y0);
    const unsigned char* c = texel(x0, y0 + 1);
    const unsigned char* d = texel(x0 + 1, y0 + 1);
    for (int i = 0; i < 4; ++i) {
        const float top = a[i] + (b[i] - a[i]) * ax;
        const float bottom = c[i] + (d[i] - c[i]) * ax;
        rgba[i] = top + (bottom - top) * ay;
    }
}

GameDataFixture::GameDataFixture(std::filesystem::path directory) : mDataDirectory(std::move(directory)) {}

void GameDataFixture::SetUp()
{
    std::filesystem::current_path(mDataDirectory);
    CoreFixture::SetUp();
    core().getTimerManager().registerTimerPlugin(mClock);
    core().setup(true);
}

void GameDataFixture::TearDown()
{
    CoreFixture::TearDown();
    std::filesystem::current_path(mWorkingDirectory);
}

} // namespace RipplejetTest

#include "Textures.h"

#include <cmath>
#include <vector>

namespace VeltaTools {

namespace {

constexpr float PI = 3.14159265f;

/// A ring of ripples around (cx, cy), flattened as water seen at a slant.
void drawRipple(Image& image, float cx, float cy, float radius, const Rgba& colour)
{
    std::vector<Vec2> ring;
    for (int i = 0; i <= 48; ++i) {
        const float angle = 2.0f * PI * static_cast<float>(i) / 48.0f;
        ring.push_back({cx + radius * std::cos(angle), cy + radius * 0.32f * std::sin(angle)});
    }
    image.strokePolyline(ring, 2.5f, colour);
}

/// A yellow duck facing right, its body on the water line at `waterY`.
void drawDuck(Image& image, float cx, float waterY)
{
    image.fillEllipse(cx, waterY - 10, 34, 20, rgb(250, 204, 40));
    image.fillPolygon({{cx - 40, waterY - 26}, {cx - 22, waterY - 12}, {cx - 30, waterY - 2}}, rgb(250, 204, 40));
    image.fillEllipse(cx - 4, waterY - 14, 16, 8, rgb(232, 176, 24));
    image.fillEllipse(cx + 22, waterY - 38, 15, 15, rgb(252, 214, 56));
    image.fillPolygon({{cx + 33, waterY - 42}, {cx + 50, waterY - 36}, {cx + 33, waterY - 31}}, rgb(240, 120, 30));
    image.fillEllipse(cx + 26, waterY - 42, 3, 3, rgb(20, 24, 32));
}

} // namespace

Image gameIcon()
{
    const float size = 128.0f;
    Image icon(128, 128);
    icon.fillRoundedRect(4, 4, size - 4, size - 4, 22, [size](float, float y) {
        return mix(rgb(70, 170, 230), rgb(16, 70, 140), y / size);
    });
    const float waterY = 84.0f;
    for (const float radius : {50.0f, 38.0f}) {
        drawRipple(icon, 60, waterY + 2, radius, rgb(200, 236, 255, 170));
    }
    drawDuck(icon, 58, waterY);
    return icon;
}

void writeGameIcon(Output& output)
{
    output.writePng("textures/icons/ripplejet.png", gameIcon());
}

} // namespace VeltaTools

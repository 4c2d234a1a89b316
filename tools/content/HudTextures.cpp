#include "Textures.h"

#include "CharMap.h"
#include "Font.h"
#include "Noise.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace VeltaTools {

namespace {

const Rgba PANEL = rgb(22, 38, 62, 224);
const Rgba PANEL_EDGE = rgb(120, 176, 228);
const Rgba ACCENT = rgb(255, 214, 90);
const Rgba LABEL = rgb(170, 200, 230);

/// A rounded panel with a light rim and a faint top highlight.
void drawPanel(Image& image, float x0, float y0, float x1, float y1, float radius)
{
    image.fillRoundedRect(x0, y0, x1, y1, radius, PANEL_EDGE);
    image.fillRoundedRect(x0 + 3, y0 + 3, x1 - 3, y1 - 3, radius - 3, [=](float, float y) {
        const float t = (y - y0) / (y1 - y0);
        return mix(rgb(40, 64, 98, 232), PANEL, std::min(1.0f, t * 2.5f));
    });
}

/// A recessed window in the glyph sheet's cell colour.
void drawWindow(Image& image, float x0, float y0, float x1, float y1)
{
    image.fillRoundedRect(x0 - 2, y0 - 2, x1 + 2, y1 + 2, 5, rgb(6, 10, 18));
    image.fillRoundedRect(x0, y0, x1, y1, 4, CharMap::windowColour());
}

void drawHeart(Image& image, float cx, float cy, float size, const Rgba& colour)
{
    image.fillEllipse(cx - size * 0.26f, cy - size * 0.12f, size * 0.28f, size * 0.28f, colour);
    image.fillEllipse(cx + size * 0.26f, cy - size * 0.12f, size * 0.28f, size * 0.28f, colour);
    image.fillPolygon({{cx - size * 0.52f, cy - size * 0.04f}, {cx + size * 0.52f, cy - size * 0.04f},
                       {cx, cy + size * 0.5f}},
                      colour);
}

void drawBubble(Image& image, float cx, float cy, float r)
{
    image.fillEllipse(cx, cy, r, r, rgb(120, 200, 255, 200));
    image.fillEllipse(cx, cy, r * 0.78f, r * 0.78f, rgb(40, 120, 200, 200));
    image.fillEllipse(cx - r * 0.35f, cy - r * 0.35f, r * 0.25f, r * 0.25f, rgb(230, 248, 255));
}

/// Time and status panel: the race time in a wide window, health and oxygen
/// below it. Only the top 160 rows are shown on screen.
Image timePanel(Font& bold)
{
    Image image(512, 256);
    drawPanel(image, 4, 4, 508, 156, 22);
    drawWindow(image, 112, 33, 432, 111);
    bold.drawText(image, "TIME", 18, 120, 26, LABEL);
    drawWindow(image, 164, 114, 216, 145);
    drawWindow(image, 384, 114, 436, 145);
    drawHeart(image, 146, 130, 24, rgb(232, 64, 72));
    bold.drawText(image, "%", 16, 220, 141, LABEL);
    drawBubble(image, 344, 130, 9);
    drawBubble(image, 364, 124, 6);
    bold.drawText(image, "O2", 15, 352, 143, LABEL);
    bold.drawText(image, "%", 16, 440, 141, LABEL);
    return image;
}

/// The bare panel (background of both top panels).
Image barePanel()
{
    Image image(512, 256);
    drawPanel(image, 4, 4, 508, 156, 22);
    return image;
}

/// Speed panel at the left edge: a window for the speed read-out at the top
/// and a track with a scale for the speed bar below. Only x < 195 is shown.
Image tachoPanel(Font& bold)
{
    Image image(256, 512);
    drawPanel(image, 3, 3, 192, 509, 20);
    // Track behind the bar (bar texels land at x 25..128, y 124..486).
    image.fillRoundedRect(20, 118, 134, 492, 10, rgb(6, 10, 18));
    image.fillRoundedRect(23, 121, 131, 489, 8, rgb(16, 26, 44));
    const float bottom = 486.0f;
    const float top = 124.0f;
    for (int step = 0; step <= 22; ++step) {
        const float y = bottom - (bottom - top) * step / 22.0f;
        const bool major = step % 2 == 0;
        image.fillRect(138, y - 1.0f, major ? 156.0f : 148.0f, y + 1.0f, PANEL_EDGE);
    }
    const char* labels[] = {"0", "18", "36", "54"};
    for (int i = 0; i < 4; ++i) {
        const float y = bottom - (bottom - top) * i / 3.0f;
        bold.drawText(image, labels[i], 15, 160, y + 6, LABEL);
    }
    bold.drawCentred(image, "SPEED", 16, 80, 104, LABEL);
    return image;
}

/// Backing of the speed text proxy: the speed window, "km/h", and the bonus
/// counter below it, on the speed panel's colour so it reads the same with
/// or without blending.
Image tachoText(Font& bold)
{
    Image image(128, 64, PANEL);
    image.fillRect(0, 0, 91, 39, CharMap::windowColour());
    bold.drawText(image, "km/h", 10.5f, 93, 34, LABEL);
    image.fillRoundedRect(52, 42, 100, 64, 3, CharMap::windowColour());
    // A small banana and "BONUS" to the left of the counter.
    image.strokePolyline({{6, 47}, {9, 55}, {16, 59}, {24, 57}}, 4.0f, ACCENT);
    bold.drawText(image, "BONUS", 8.5f, 21, 52, LABEL);
    return image;
}

/// Speed bar: 22 segments from green at the bottom to red at the top, in the
/// part of the texture the bar quad maps (u 0.1..0.53, v 0.244..0.942).
Image speedBar()
{
    Image image(64, 256);
    const float x0 = 0.1f * 64.0f + 1.5f;
    const float x1 = 0.53f * 64.0f - 1.5f;
    const float bottom = 0.942f * 256.0f;
    const float step = 0.685f / 22.0f * 256.0f;
    for (int i = 0; i < 22; ++i) {
        const float t = i / 21.0f;
        const Rgba colour = t < 0.5f ? mix(rgb(70, 220, 90), rgb(250, 220, 60), t * 2.0f)
                                     : mix(rgb(250, 220, 60), rgb(240, 60, 50), (t - 0.5f) * 2.0f);
        const float y1 = bottom - step * i - 1.0f;
        const float y0 = y1 - step + 2.0f;
        image.fillRoundedRect(x0, y0, x1, y1, 2.0f, colour);
        image.fillRect(x0 + 2, y0 + 1, x1 - 2, y0 + 2.5f, mix(colour, rgb(255, 255, 255), 0.5f));
    }
    return image;
}

/// Item strip window: the strip shows through where this is white.
Image panelMask()
{
    Image image(512, 256);
    image.shade([](float x, float y) {
        const float edge = std::min(x - 10.0f, 502.0f - x);
        const float across = std::clamp(edge / 50.0f, 0.0f, 1.0f);
        const bool band = y >= 34.0f && y <= 112.0f;
        const float a = band ? across * across * (3.0f - 2.0f * across) : 0.0f;
        return Rgba{1.0f, 1.0f, 1.0f, a};
    });
    return image;
}

/// Frame around the selected slot of the item strip, with arrows for the
/// neighbours; transparent elsewhere.
Image itemFrame(Font& bold)
{
    Image image(512, 256);
    // The selected icon settles 161 pixels into the strip's 425-pixel window,
    // which the quad spreads over the panel's 512 columns.
    const float x0 = 200, y0 = 32, x1 = 314, y1 = 114;
    image.fillRoundedRect(x0, y0, x1, y1, 12, ACCENT);
    Image hole(512, 256);
    // Cut the inside out again: copy everything but the inner rectangle.
    hole.fillRoundedRect(x0 + 5, y0 + 5, x1 - 5, y1 - 5, 8, Rgba{1, 1, 1, 1});
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 512; ++x) {
            Rgba& p = image.at(x, y);
            p.a *= 1.0f - hole.at(x, y).a;
        }
    }
    image.fillPolygon({{192, 62}, {192, 84}, {180, 73}}, ACCENT.withAlpha(0.8f));
    image.fillPolygon({{322, 62}, {322, 84}, {334, 73}}, ACCENT.withAlpha(0.8f));
    bold.drawText(image, "ITEMS", 16, 24, 28, LABEL);
    return image;
}

/// A full-screen message: one or two lines of large outlined words, with a
/// smaller line below.
Image message(Font& bold, const std::vector<std::string>& words, const std::string& line, const Rgba& top,
              const Rgba& bottom)
{
    Image image(512, 512);
    const bool two = words.size() > 1;
    for (std::size_t k = 0; k < words.size(); ++k) {
        const std::string& word = words[k];
        const float size = std::min(two ? 150.0f : 190.0f, 440.0f / std::max(1.0f, bold.measure(word, 100.0f) / 100.0f));
        const float centre = two ? 150.0f + 170.0f * static_cast<float>(k) : 230.0f;
        bold.drawCentredOutlined(image, word, size, 256, centre, rgb(20, 24, 40), rgb(20, 24, 40), 9.0f);
        Image fill(512, 512);
        bold.drawCentred(fill, word, size, 256, centre, Rgba{1, 1, 1, 1});
        for (int y = 0; y < 512; ++y) {
            const float t = std::clamp((y - (centre - 70.0f)) / 140.0f, 0.0f, 1.0f);
            const Rgba colour = mix(top, bottom, t);
            for (int x = 0; x < 512; ++x) {
                image.blend(x, y, colour, fill.at(x, y).a);
            }
        }
    }
    if (!line.empty()) {
        bold.drawCentredOutlined(image, line, 34, 256, two ? 462.0f : 372.0f, rgb(255, 255, 255), rgb(20, 24, 40), 3.5f);
    }
    return image;
}

/// The keys and the mouse, on a dark panel: a column of keys and one of
/// what they do.
Image helpPanel(Font& bold)
{
    Image image(512, 512);
    image.fillRoundedRect(8, 8, 504, 504, 24, rgb(12, 22, 40, 225));
    image.fillRoundedRect(14, 14, 498, 498, 20, rgb(30, 52, 84, 225));
    bold.drawCentred(image, "HOW TO PLAY", 34, 256, 50, ACCENT);
    const std::pair<const char*, const char*> rows[] = {
        {"Mouse", "steer"},
        {"W / S", "forward / back"},
        {"A / D", "sideways left / right"},
        {"Space / Shift", "rise / dive"},
        {"Left button", "start, use the item"},
        {"E / Q, wheel", "choose an item"},
        {"R / C", "duck to start / finish"},
        {"Enter", "a new race"},
        {"Pause", "pause; click to go on"},
        {"T / U", "full screen / mouse"},
        {"F12", "screenshot"},
        {"F1", "this help (pauses)"},
        {"Escape", "quit"},
    };
    float baseline = 104;
    for (const auto& row : rows) {
        bold.drawText(image, row.first, 21, 34, baseline, rgb(255, 240, 200));
        bold.drawText(image, row.second, 21, 210, baseline, LABEL);
        baseline += 30;
    }
    return image;
}

/// Sparkle for item particles: a four-pointed star with a bright core,
/// crisp enough for alpha testing.
Image sparkle()
{
    Image image(64, 64);
    const float c = 32.0f;
    image.fillPolygon({{c, 2}, {c + 7, c - 7}, {62, c}, {c + 7, c + 7}, {c, 62}, {c - 7, c + 7}, {2, c}, {c - 7, c - 7}},
                      [c](float x, float y) {
                          const float d = std::sqrt((x - c) * (x - c) + (y - c) * (y - c)) / 30.0f;
                          return mix(rgb(255, 255, 230), rgb(255, 190, 40), std::min(1.0f, d * 1.4f));
                      });
    image.fillEllipse(c, c, 9, 9, rgb(255, 255, 255));
    return image;
}

/// Soft grey puff for the booster's smoke.
Image smoke()
{
    Image image(64, 64);
    image.shade([](float x, float y) {
        const float dx = (x - 32.0f) / 30.0f;
        const float dy = (y - 32.0f) / 30.0f;
        const float d = std::sqrt(dx * dx + dy * dy);
        const float n = fractalNoise(x / 9.0f, y / 9.0f, 601u, 3);
        const float falloff = std::clamp(1.0f - d, 0.0f, 1.0f);
        const float a = std::clamp(falloff * falloff * (0.55f + 0.9f * n), 0.0f, 1.0f);
        const float shade = 0.72f + 0.25f * n;
        return Rgba{shade, shade, shade * 1.02f, a};
    });
    return image;
}

} // namespace

Image itemLabel(const std::string& text)
{
    Image image(256, 32);
    Font bold(sansBoldFontPath());
    bold.drawCentredOutlined(image, text, 20, 105, 16, rgb(255, 244, 210), rgb(10, 16, 28), 2.0f);
    return image;
}

Image itemIcon(const std::string& item)
{
    Image image(80, 60);
    image.fillRoundedRect(2, 2, 78, 58, 10, rgb(200, 220, 240, 235));
    image.fillRoundedRect(4, 4, 76, 56, 8, rgb(44, 70, 106, 235));
    if (item == "medicare") {
        image.fillRect(33, 9, 47, 14, rgb(200, 40, 50));
        image.fillRoundedRect(16, 13, 64, 50, 6, rgb(232, 52, 62));
        image.fillRoundedRect(18, 15, 62, 22, 4, rgb(250, 120, 120));
        image.fillRect(36, 19, 44, 45, rgb(255, 255, 255));
        image.fillRect(27, 28, 53, 36, rgb(255, 255, 255));
    } else if (item == "oxygen") {
        image.fillRoundedRect(27, 14, 53, 54, 12, [](float x, float) {
            const float t = (x - 27.0f) / 26.0f;
            return mix(rgb(150, 210, 255), rgb(30, 90, 190), t);
        });
        image.fillRect(35, 7, 45, 15, rgb(170, 176, 186));
        image.fillRect(31, 5, 49, 9, rgb(120, 126, 136));
        Font bold(sansBoldFontPath());
        bold.drawCentred(image, "O2", 15, 40, 36, rgb(255, 255, 255));
        image.fillEllipse(64, 18, 4, 4, rgb(170, 220, 255));
        image.fillEllipse(68, 30, 3, 3, rgb(170, 220, 255));
    } else if (item == "banana") {
        std::vector<Vec2> shape;
        for (int i = 0; i <= 16; ++i) {
            const float a = 0.35f + 2.45f * i / 16.0f;
            shape.push_back({40 + std::cos(a) * 30, 6 + std::sin(a) * 40});
        }
        for (int i = 16; i >= 0; --i) {
            const float a = 0.35f + 2.45f * i / 16.0f;
            const float thick = std::sin(3.14159f * i / 16.0f);
            shape.push_back({40 + std::cos(a) * (30 - 12 * thick), 6 + std::sin(a) * (40 - 14 * thick)});
        }
        image.fillPolygon(shape, [](float, float y) { return mix(rgb(255, 236, 90), rgb(236, 180, 30), (y - 20) / 30); });
        image.fillEllipse(68, 18, 3, 3, rgb(90, 70, 30));
        image.fillEllipse(13, 27, 3, 3, rgb(90, 70, 30));
    } else if (item == "pulso") {
        image.fillRoundedRect(22, 10, 58, 54, 6, [](float x, float) {
            return mix(rgb(255, 150, 40), rgb(220, 60, 20), (x - 22.0f) / 36.0f);
        });
        image.fillRect(22, 14, 58, 18, rgb(255, 220, 160));
        image.fillRect(22, 46, 58, 50, rgb(255, 220, 160));
        image.fillPolygon({{44, 19}, {32, 35}, {40, 35}, {35, 46}, {49, 29}, {41, 29}}, rgb(255, 250, 200));
    }
    return image;
}

void writeHudTextures(Output& output)
{
    Font bold(sansBoldFontPath());
    output.writePng("textures/text/CharMap.png", CharMap::build());
    output.writePng("textures/overlays/tacho.png", tachoPanel(bold));
    output.writePng("textures/overlays/tachotext.png", tachoText(bold));
    output.writePng("textures/overlays/speedbar.png", speedBar());
    output.writePng("textures/overlays/time.png", timePanel(bold));
    output.writePng("textures/overlays/panel.png", barePanel());
    output.writePng("textures/overlays/item.png", itemFrame(bold));
    output.writePng("textures/overlays/panelmask.png", panelMask());
    output.writePng("textures/overlays/ready.png",
                    message(bold, {"READY?"}, "Click to start", rgb(255, 240, 120), rgb(255, 160, 40)));
    output.writePng("textures/overlays/go.png", message(bold, {"GO!"}, "", rgb(170, 255, 140), rgb(40, 190, 70)));
    // The end pictures name the key that starts a new race: r only puts the
    // duck back, with the time and the health it has.
    output.writePng("textures/overlays/yes.png",
                    message(bold, {"YES!"}, "Enter: race again", rgb(255, 250, 170), rgb(250, 180, 30)));
    output.writePng("textures/overlays/gameover.png",
                    message(bold, {"GAME", "OVER"}, "Press Enter to race again", rgb(255, 150, 140), rgb(200, 30, 40)));
    output.writePng("textures/overlays/paused.png",
                    message(bold, {"PAUSED"}, "Pause or click to go on", rgb(200, 230, 255), rgb(90, 150, 230)));
    output.writePng("textures/overlays/help.png", helpPanel(bold));
    output.writePng("textures/empty.png", Image(256, 32));

    struct Item {
        const char* name;
        const char* label;
    };
    const Item items[] = {
        {"medicare", "Medicare +25"}, {"oxygen", "Oxygen"}, {"banana", "Banana +5"}, {"pulso", "Pulso boost"}};
    for (const Item& item : items) {
        output.writePng(std::string("textures/icons/") + item.name + ".png", itemIcon(item.name));
        output.writePng(std::string("textures/text/") + item.name + ".png", itemLabel(item.label));
    }
    output.writePng("textures/particles/krankheit.png", sparkle());
    output.writePng("textures/particles/smoke.png", smoke());
}

} // namespace VeltaTools

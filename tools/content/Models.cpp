#include "ContentGenerator.h"

#include "Ducks.h"
#include "Font.h"
#include "MeshBuilder.h"
#include "Noise.h"
#include "course/Course.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace VeltaTools {

namespace {

constexpr float PI = 3.14159265f;

using T = Transform;

bool save(Output& output, const std::string& name, MeshBuilder& mesh)
{
    return output.writeBytes("models/" + name, mesh.finish().toBytes());
}

// ---- Textures of the props ----

Image skyTexture()
{
    Image image(512, 256);
    // Rows: 0 at the zenith, 192 at the horizon, below it haze.
    image.shade([](float x, float y) {
        const float elevation = 1.0f - y / 192.0f; // 1 zenith, 0 horizon, negative below
        const Rgba zenith = rgb(46, 104, 196);
        const Rgba horizon = rgb(186, 216, 240);
        constexpr Ripplejet::Course::Rgb HAZE = Ripplejet::Course::SKY_HAZE;
        const Rgba haze = rgb(HAZE.r, HAZE.g, HAZE.b);
        Rgba sky = elevation >= 0 ? mix(horizon, zenith, std::pow(elevation, 0.7f)) : haze;
        if (elevation > 0.04f) {
            // Wraps every 512 pixels across, so the dome has no seam.
            const float cloud = fractalNoise(x / 64.0f, y / 16.0f, 701u, 5, 8);
            const float band = std::clamp(1.0f - std::abs(elevation - 0.35f) / 0.4f, 0.0f, 1.0f);
            const float amount = std::clamp((cloud - 0.52f) * 4.0f, 0.0f, 1.0f) * band;
            sky = mix(sky, rgb(252, 252, 255), amount * 0.9f);
        }
        return sky;
    });
    return image;
}

/// House atlas: planks (top left), roof tiles (top right), stone (bottom
/// left), window (bottom right, upper half) and door (lower half).
Image houseTexture()
{
    Image image(256, 256);
    image.shade([](float x, float y) {
        if (y < 128 && x < 128) {
            const int plank = static_cast<int>(y / 16);
            const float grain = fractalNoise(x / 24.0f, y / 3.0f + plank * 7, 801u, 3);
            const float edge = std::fmod(y, 16.0f) < 1.5f ? 0.55f : 1.0f;
            const float tone = (0.75f + 0.25f * hashUnit(plank, 0, 802u)) * (0.8f + 0.35f * grain) * edge;
            return rgb(176, 120, 72).scaled(tone);
        }
        if (y < 128) {
            const int row = static_cast<int>(y / 14);
            const float offset = (row % 2) * 10.0f;
            const float inTile = std::fmod(x + offset, 20.0f);
            const float shade = 0.75f + 0.25f * std::fmod(y, 14.0f) / 14.0f;
            const float gap = inTile < 1.5f || std::fmod(y, 14.0f) < 1.5f ? 0.5f : 1.0f;
            return rgb(180, 62, 44).scaled(shade * gap * (0.9f + 0.2f * hashUnit(row, static_cast<int>((x + offset) / 20), 803u)));
        }
        if (x < 128) {
            const int row = static_cast<int>((y - 128) / 20);
            const float offset = (row % 2) * 16.0f;
            const float inStone = std::fmod(x + offset, 32.0f);
            const float mortar = inStone < 2.0f || std::fmod(y - 128, 20.0f) < 2.0f;
            const float n = fractalNoise(x / 10.0f, y / 10.0f, 804u, 3);
            return mortar ? rgb(170, 166, 150) : rgb(128, 124, 116).scaled(0.75f + 0.45f * n);
        }
        if (y < 192) {
            const float fx = (x - 128) / 128.0f, fy = (y - 128) / 64.0f;
            const bool frame = fx < 0.1f || fx > 0.9f || fy < 0.12f || fy > 0.88f || std::abs(fx - 0.5f) < 0.04f ||
                               std::abs(fy - 0.5f) < 0.06f;
            return frame ? rgb(236, 230, 214) : mix(rgb(120, 170, 210), rgb(40, 70, 110), fy);
        }
        const float fx = (x - 128) / 128.0f;
        const bool frame = fx < 0.08f || fx > 0.92f || y < 196;
        const float board = std::fmod(x - 128, 21.0f) < 1.5f ? 0.7f : 1.0f;
        return frame ? rgb(90, 60, 36) : rgb(120, 70, 40).scaled(board);
    });
    return image;
}

/// Red and white bands, a yellow float ring (t 0.56..0.73, the buoy's
/// widest part) and a dark keel below it.
Image buoyTexture()
{
    Image image(64, 128);
    image.shade([](float, float y) {
        const float t = y / 128.0f;
        if (t > 0.73f) {
            return rgb(60, 64, 70);
        }
        if (t > 0.56f) {
            return rgb(250, 200, 40);
        }
        if (t < 0.12f) {
            return rgb(255, 250, 210);
        }
        return static_cast<int>(t * 10) % 2 == 0 ? rgb(225, 40, 36) : rgb(246, 246, 240);
    });
    return image;
}

/// A banner cloth: chequered borders and the word, squeezed so it reads
/// right once the cloth is stretched wide.
Image bannerTexture(const std::string& word, const Rgba& cloth)
{
    Image image(512, 64, cloth);
    for (int i = 0; i < 64; ++i) {
        for (int row = 0; row < 2; ++row) {
            const bool dark = (i + row) % 2 == 0;
            const float y = row == 0 ? 0.0f : 56.0f;
            image.fillRect(i * 8.0f, y, i * 8.0f + 8, y + 8, dark ? rgb(20, 20, 24) : rgb(250, 250, 250));
        }
    }
    Font bold(sansBoldFontPath());
    bold.setHorizontalScale(0.6f);
    bold.drawCentredOutlined(image, word, 40, 256, 32, rgb(255, 255, 255), rgb(20, 24, 40), 2.5f);
    bold.setHorizontalScale(1.0f);
    return image;
}

Image poleTexture()
{
    Image image(32, 128);
    image.shade([](float x, float y) {
        const float shine = 0.7f + 0.3f * std::sin(x / 32.0f * PI);
        return (static_cast<int>(y / 16) % 2 == 0 ? rgb(240, 240, 236) : rgb(40, 90, 180)).scaled(shine);
    });
    return image;
}

/// Traffic light atlas: housing (left half) and the three lamps (right half, top to bottom red, amber, green).
Image trafficTexture()
{
    Image image(128, 128, rgb(34, 36, 40));
    image.fillRect(0, 0, 64, 128, rgb(44, 46, 52));
    image.fillRect(4, 0, 8, 128, rgb(60, 62, 70));
    const Rgba lamps[3] = {rgb(255, 50, 40), rgb(255, 190, 30), rgb(60, 230, 80)};
    for (int i = 0; i < 3; ++i) {
        const float cy = 21.0f + i * 43.0f;
        image.fillEllipse(96, cy, 22, 20, [&](float x, float y) {
            const float d = std::sqrt((x - 90) * (x - 90) + (y - cy + 6) * (y - cy + 6)) / 28.0f;
            return mix(mix(lamps[i], rgb(255, 255, 255), 0.6f), lamps[i], std::min(1.0f, d * 1.5f));
        });
    }
    return image;
}

Image ropeTexture()
{
    Image image(32, 32);
    image.shade([](float x, float y) {
        const float twist = 0.7f + 0.3f * std::sin((x + y) * 0.8f);
        return rgb(214, 196, 150).scaled(twist);
    });
    return image;
}

Image stoneTexture()
{
    Image image(128, 128);
    image.shade([](float x, float y) {
        const float n = fractalNoise(x / 16.0f, y / 16.0f, 901u, 5, 8);
        const float fine = fractalNoise(x / 3.0f, y / 3.0f, 902u, 2, 42);
        const float lichen = fractalNoise(x / 20.0f, y / 20.0f, 903u, 3, 6);
        Rgba c = rgb(134, 128, 118).scaled(0.65f + 0.5f * n + (fine - 0.5f) * 0.2f);
        if (lichen > 0.62f) {
            c = mix(c, rgb(120, 140, 70), std::min(1.0f, (lichen - 0.62f) * 6.0f));
        }
        return c;
    });
    return image;
}

/// Item skins: the first-aid kit, the oxygen bottle, the banana and the booster can.
Image medicareTexture()
{
    Image image(128, 128, rgb(226, 44, 52));
    image.fillRect(0, 0, 128, 10, rgb(250, 110, 110));
    image.fillRect(52, 26, 76, 102, rgb(255, 255, 255));
    image.fillRect(26, 52, 102, 76, rgb(255, 255, 255));
    return image;
}

Image oxygenTexture()
{
    Image image(128, 128);
    image.shade([](float x, float y) {
        const float shine = 0.75f + 0.25f * std::sin(x / 128.0f * 2.0f * PI);
        if (y < 16) {
            return rgb(180, 186, 196).scaled(shine);
        }
        return rgb(40, 110, 220).scaled(shine);
    });
    Font bold(sansBoldFontPath());
    bold.setHorizontalScale(0.6f);
    bold.drawCentred(image, "O2", 44, 32, 70, rgb(255, 255, 255));
    bold.drawCentred(image, "O2", 44, 96, 70, rgb(255, 255, 255));
    bold.setHorizontalScale(1.0f);
    return image;
}

Image bananaTexture()
{
    Image image(128, 64);
    image.shade([](float x, float y) {
        const float along = x / 128.0f;
        Rgba c = mix(rgb(255, 232, 80), rgb(240, 196, 40), std::abs(std::sin(y / 64.0f * 5.0f * PI)) * 0.6f);
        if (along < 0.06f || along > 0.94f) {
            c = rgb(96, 72, 34);
        } else if (along < 0.14f || along > 0.86f) {
            c = mix(c, rgb(150, 190, 60), 0.5f);
        }
        const float speck = hashUnit(static_cast<int>(x / 3), static_cast<int>(y / 3), 904u);
        return speck > 0.96f ? c.scaled(0.6f) : c;
    });
    return image;
}

Image pulsoTexture()
{
    Image image(128, 128);
    image.shade([](float x, float y) {
        const float shine = 0.78f + 0.22f * std::sin(x / 128.0f * 2.0f * PI);
        if (y < 12 || y > 116) {
            return rgb(200, 204, 210).scaled(shine);
        }
        return mix(rgb(255, 160, 40), rgb(230, 60, 20), y / 128.0f).scaled(shine);
    });
    for (float cx : {32.0f, 96.0f}) {
        image.fillPolygon({{cx + 5, 30}, {cx - 8, 62}, {cx - 1, 62}, {cx - 6, 92}, {cx + 10, 56}, {cx + 2, 56}},
                          rgb(255, 250, 200));
    }
    Font bold(sansBoldFontPath());
    bold.setHorizontalScale(0.7f);
    bold.drawCentred(image, "PULSO", 15, 64, 104, rgb(255, 255, 255));
    bold.setHorizontalScale(1.0f);
    return image;
}

// ---- Models ----

/// Sky dome, built upright and then turned half a turn about x, because the
/// course turns it back. Seen from inside; radius 1, with a narrow skirt below
/// the horizon.
void buildSky(MeshBuilder& mesh)
{
    const int material = mesh.material("sky", "sky.png");
    mesh.group("dome", material);
    // The dome is laid out in 14 rings from the zenith down to 0.35 rad below
    // the horizon, but only the first 11 are built: the skirt ends 0.05 rad
    // below the horizon. Lower down only the void past the valley's edge
    // could show, and the game clears the window in the skirt's haze
    // (Course::SKY_HAZE), so the rest would only cost the renderer fragments
    // hidden behind the ground.
    constexpr float lowest = -0.35f;
    constexpr int layoutRings = 14;
    constexpr int rings = 11;
    // Seen from inside: going around the other way turns the surface's
    // front (and its normals) towards the centre.
    const T flipped = T::rotationX(PI);
    const UvRect uv{0, 0, 1, static_cast<float>(rings) / layoutRings};
    mesh.surface(flipped, rings, 36, uv, [](float u, float built) {
        // v = 0 at the zenith; t of the texture: 0.75 at the horizon.
        const float v = std::round(built * rings) / layoutRings;
        const float horizonV = 0.75f;
        const float elevation = v <= horizonV ? (PI / 2) * (1 - v / horizonV)
                                              : lowest * (v - horizonV) / (1 - horizonV);
        const float around = u * 2 * PI;
        return Vec3{std::cos(elevation) * std::cos(around), std::sin(elevation), std::cos(elevation) * std::sin(around)};
    });
}

void buildHouse(MeshBuilder& mesh)
{
    const int material = mesh.material("house", "house.png");
    const UvRect planks{0, 0, 0.5f, 0.5f}, roof{0.5f, 0, 1, 0.5f}, stone{0, 0.5f, 0.5f, 1};
    const UvRect window{0.5f, 0.5f, 1, 0.75f}, door{0.5f, 0.75f, 1, 1};
    mesh.group("foundation", material);
    mesh.box(T::translation(0, -0.5f, 0), {1.3f, 1.0f, 1.1f}, stone);
    mesh.group("walls", material);
    mesh.box(T::translation(0, 0.35f, 0), {1.1f, 0.7f, 0.9f}, planks);
    mesh.group("roof", material);
    const float w = 0.66f, d = 0.56f, eaves = 0.66f, ridge = 1.12f;
    mesh.quad(T(), {-w, eaves, d}, {w, eaves, d}, {w, ridge, 0}, {-w, ridge, 0}, roof);
    mesh.quad(T(), {w, eaves, -d}, {-w, eaves, -d}, {-w, ridge, 0}, {w, ridge, 0}, roof);
    mesh.quad(T(), {-w, eaves - 0.03f, d}, {-w, eaves - 0.03f, -d}, {w, eaves - 0.03f, -d}, {w, eaves - 0.03f, d}, roof);
    // Gables.
    const UvRect gable{0.05f, 0.05f, 0.45f, 0.2f};
    for (float side : {1.0f, -1.0f}) {
        const float x = 0.55f * side;
        MeshBuilder::Corner a{{x, 0.7f, 0.45f * side}, {side, 0, 0}, gable.s0, gable.t1};
        MeshBuilder::Corner b{{x, 0.7f, -0.45f * side}, {side, 0, 0}, gable.s1, gable.t1};
        MeshBuilder::Corner c{{x, 1.08f, 0}, {side, 0, 0}, (gable.s0 + gable.s1) / 2, gable.t0};
        mesh.triangle(a, b, c);
    }
    mesh.box(T::translation(0.3f, 1.05f, -0.2f), {0.14f, 0.36f, 0.14f}, stone);
    mesh.group("openings", material);
    mesh.quad(T(), {-0.12f, 0.0f, 0.452f}, {0.12f, 0.0f, 0.452f}, {0.12f, 0.5f, 0.452f}, {-0.12f, 0.5f, 0.452f}, door);
    for (float x : {-0.36f, 0.36f}) {
        mesh.quad(T(), {x - 0.1f, 0.3f, 0.452f}, {x + 0.1f, 0.3f, 0.452f}, {x + 0.1f, 0.5f, 0.452f}, {x - 0.1f, 0.5f, 0.452f}, window);
    }
    for (float z : {-0.2f, 0.2f}) {
        mesh.quad(T(), {0.552f, 0.28f, z + 0.11f}, {0.552f, 0.28f, z - 0.11f}, {0.552f, 0.5f, z - 0.11f}, {0.552f, 0.5f, z + 0.11f}, window);
        mesh.quad(T(), {-0.552f, 0.28f, z - 0.11f}, {-0.552f, 0.28f, z + 0.11f}, {-0.552f, 0.5f, z + 0.11f}, {-0.552f, 0.5f, z - 0.11f}, window);
    }
    mesh.quad(T(), {0.12f, 0.28f, -0.452f}, {-0.12f, 0.28f, -0.452f}, {-0.12f, 0.5f, -0.452f}, {0.12f, 0.5f, -0.452f}, window);
}

void buildBuoy(MeshBuilder& mesh)
{
    const int material = mesh.material("buoy", "buoy.png");
    mesh.group("buoy", material);
    mesh.lathe(T(), {{0.0f, -0.12f}, {0.1f, -0.12f}, {0.2f, -0.04f}, {0.22f, 0.02f}, {0.2f, 0.08f}, {0.13f, 0.1f},
                     {0.11f, 0.2f}, {0.09f, 0.3f}, {0.06f, 0.4f}, {0.03f, 0.44f}, {0.0f, 0.45f}},
               20, UvRect{0, 0, 1, 1}, false);
}

void buildBanner(MeshBuilder& mesh, const std::string& texture)
{
    const int cloth = mesh.material("cloth", texture);
    const int pole = mesh.material("pole", "pole.png");
    mesh.group("poles", pole);
    for (float x : {-2.5f, 2.5f}) {
        mesh.lathe(T::translation(x, 0, 0), {{0.0f, -1.0f}, {0.04f, -1.0f}, {0.04f, 1.0f}, {0.0f, 1.02f}}, 10,
                   UvRect{0, 0, 1, 4}, false);
        mesh.box(T::translation(x, -0.05f, 0), {0.12f, 0.1f, 0.32f}, UvRect{0, 0, 1, 0.2f});
    }
    mesh.group("cloth", cloth);
    const float y0 = 0.55f, y1 = 0.98f, x = 2.46f, z = 0.012f;
    // Front (facing -z, towards the ducks coming down the river) and back,
    // each reading left to right.
    mesh.quad(T(), {x, y0, -z}, {-x, y0, -z}, {-x, y1, -z}, {x, y1, -z}, UvRect{0, 0, 1, 1});
    mesh.quad(T(), {-x, y0, z}, {x, y0, z}, {x, y1, z}, {-x, y1, z}, UvRect{0, 0, 1, 1});
    mesh.quad(T(), {-x, y1, -z}, {-x, y1, z}, {x, y1, z}, {x, y1, -z}, UvRect{0, 0, 1, 0.1f});
    mesh.quad(T(), {-x, y0, z}, {-x, y0, -z}, {x, y0, -z}, {x, y0, z}, UvRect{0, 0.9f, 1, 1});
}

void buildTrafficLight(MeshBuilder& mesh)
{
    const int material = mesh.material("trafficlight", "traffic.png");
    const UvRect housing{0, 0, 0.5f, 1};
    mesh.group("housing", material);
    mesh.box(T::translation(0, 1.09f, 0), {0.24f, 0.54f, 0.16f}, housing);
    mesh.box(T::translation(0, 1.49f, 0), {0.03f, 0.26f, 0.03f}, housing);
    mesh.box(T::translation(0, 1.61f, -0.1f), {0.03f, 0.03f, 0.2f}, housing);
    mesh.group("lamps", material);
    for (int i = 0; i < 3; ++i) {
        const float y = 1.27f - i * 0.18f;
        const UvRect lamp{0.55f, i / 3.0f + 0.02f, 0.95f, (i + 1) / 3.0f - 0.02f};
        mesh.sphere(T::translation(0, y, 0.08f) * T::scaling(0.065f, 0.065f, 0.03f), 6, 12, lamp);
        // Visor above each lamp.
        mesh.box(T::translation(0, y + 0.075f, 0.12f), {0.16f, 0.012f, 0.08f}, housing);
    }
}

void buildCatchNet(MeshBuilder& mesh)
{
    const int rope = mesh.material("rope", "rope.png");
    const int floats = mesh.material("floats", "buoy.png");
    const int pole = mesh.material("pole", "pole.png");
    mesh.group("posts", pole);
    for (float x : {-2.6f, 2.6f}) {
        mesh.lathe(T::translation(x, 0, 0), {{0.0f, -0.9f}, {0.05f, -0.9f}, {0.05f, 0.75f}, {0.0f, 0.78f}}, 10,
                   UvRect{0, 0, 1, 3}, false);
    }
    mesh.group("net", rope);
    for (float y : {-0.3f, -0.1f, 0.1f, 0.3f, 0.5f}) {
        mesh.box(T::translation(0, y, 0), {5.2f, 0.018f, 0.018f}, UvRect{0, 0, 20, 1});
    }
    for (int i = 0; i <= 26; ++i) {
        const float x = -2.6f + i * 0.2f;
        mesh.box(T::translation(x, 0.1f, 0), {0.014f, 0.8f, 0.014f}, UvRect{0, 0, 1, 4});
    }
    mesh.group("floats", floats);
    for (int i = 0; i < 13; ++i) {
        const float x = -2.4f + i * 0.4f;
        mesh.sphere(T::translation(x, 0.5f, 0) * T::scaling(0.07f, 0.06f, 0.07f), 6, 10, UvRect{0, 0.6f, 1, 0.7f});
    }
}

void buildStone(MeshBuilder& mesh)
{
    const int material = mesh.material("stone", "stone.png");
    mesh.group("stone", material);
    mesh.surface(T(), 10, 16, UvRect{0, 0, 2, 1}, [](float u, float v) {
        const float polar = v * PI;
        const float around = u * 2 * PI;
        const int iu = static_cast<int>(std::lround(u * 16)) % 16;
        const int iv = static_cast<int>(std::lround(v * 10));
        const float bump = (iv == 0 || iv == 10) ? 1.0f : 0.82f + 0.3f * hashUnit(iu, iv, 905u);
        const float r = 0.55f * bump;
        const float y = std::cos(polar);
        // Flattened base, rounded top: the stone sits on the ground with its
        // lowest part a little below y = 0.
        const float height = y > 0 ? 0.8f * std::pow(y, 0.8f) : 0.3f * y;
        return Vec3{r * std::sin(polar) * std::cos(around) * (1.0f + 0.15f * std::cos(2 * around)), height * bump,
                    -r * std::sin(polar) * std::sin(around)};
    });
}

void buildMedicare(MeshBuilder& mesh)
{
    const int material = mesh.material("medicare", "medicareskin.png");
    mesh.group("case", material);
    const UvRect face{0, 0, 1, 1}, plain{0, 0.02f, 0.15f, 0.06f};
    mesh.box(T(), {1.2f, 0.9f, 0.5f}, {plain, plain, plain, plain, face, face});
    mesh.group("handle", material);
    mesh.box(T::translation(-0.22f, 0.54f, 0), {0.06f, 0.18f, 0.1f}, plain);
    mesh.box(T::translation(0.22f, 0.54f, 0), {0.06f, 0.18f, 0.1f}, plain);
    mesh.box(T::translation(0, 0.64f, 0), {0.5f, 0.06f, 0.1f}, plain);
}

void buildOxygen(MeshBuilder& mesh)
{
    const int material = mesh.material("oxygen", "oxygenskin.png");
    mesh.group("bottle", material);
    mesh.lathe(T(), {{0.0f, -0.6f}, {0.26f, -0.6f}, {0.3f, -0.52f}, {0.3f, 0.36f}, {0.22f, 0.52f}, {0.1f, 0.58f},
                     {0.0f, 0.6f}},
               18, UvRect{0, 0, 1, 1}, false);
    mesh.group("valve", material);
    mesh.lathe(T(), {{0.0f, 0.58f}, {0.07f, 0.58f}, {0.07f, 0.72f}, {0.12f, 0.74f}, {0.12f, 0.8f}, {0.0f, 0.8f}}, 10,
               UvRect{0, 0, 1, 0.1f}, false);
}

/// Closes the end at `v` (0 or 1) of a tube made by MeshBuilder::surface
/// from `point` with `segments` around: a fan from the end ring's middle,
/// facing away from the tube, so that the tube is a closed surface.
void capTube(MeshBuilder& mesh, int segments, float v, const UvRect& uv,
             const std::function<Vec3(float, float)>& point)
{
    std::vector<Vec3> ring;
    Vec3 middle{0, 0, 0};
    for (int c = 0; c < segments; ++c) {
        ring.push_back(point(static_cast<float>(c) / segments, v));
        for (int i = 0; i < 3; ++i) {
            middle[i] += ring.back()[i] / segments;
        }
    }
    Vec3 inward{0, 0, 0};
    for (const Vec3& p : {point(0.0f, v == 0 ? 0.05f : 0.95f), point(0.5f, v == 0 ? 0.05f : 0.95f)}) {
        for (int i = 0; i < 3; ++i) {
            inward[i] += p[i] / 2;
        }
    }
    const Vec3 away = normalise(subtract(middle, inward));
    for (int c = 0; c < segments; ++c) {
        Vec3 a = ring[static_cast<std::size_t>(c)];
        Vec3 b = ring[static_cast<std::size_t>((c + 1) % segments)];
        const Vec3 n = cross(subtract(a, middle), subtract(b, middle));
        if (n[0] * away[0] + n[1] * away[1] + n[2] * away[2] < 0) {
            std::swap(a, b);
        }
        const float t = uv.t(v);
        mesh.triangle({middle, away, uv.s(0.5f), t}, {a, away, uv.s(0.5f), t}, {b, away, uv.s(0.5f), t});
    }
}

void buildBanana(MeshBuilder& mesh)
{
    const int material = mesh.material("banana", "bananaskin.png");
    mesh.group("banana", material);
    // A tube along an arc of radius 2.6 in the x-y plane, thick in the
    // middle, closed at both ends.
    const auto point = [](float u, float v) {
        const float arc = -1.05f + 2.1f * v;
        const float thickness = 0.42f * std::pow(std::sin(PI * (0.04f + 0.92f * v)), 0.7f) + 0.06f;
        const Vec3 centre{2.6f * std::sin(arc), 2.6f - 2.6f * std::cos(arc) - 0.7f, 0};
        const Vec3 outward{std::sin(arc), -std::cos(arc), 0};
        const float around = u * 2 * PI;
        const float c = std::cos(around) * thickness, s = std::sin(around) * thickness;
        return Vec3{centre[0] + outward[0] * c, centre[1] + outward[1] * c, s};
    };
    const UvRect uv{0, 0, 1, 1};
    mesh.surface(T(), 16, 10, uv, point);
    capTube(mesh, 10, 0.0f, uv, point);
    capTube(mesh, 10, 1.0f, uv, point);
}

void buildPulso(MeshBuilder& mesh)
{
    const int material = mesh.material("pulso", "pulsoskin.png");
    mesh.group("can", material);
    mesh.lathe(T(), {{0.0f, -0.32f}, {0.17f, -0.32f}, {0.2f, -0.28f}, {0.2f, 0.26f}, {0.17f, 0.32f}, {0.0f, 0.32f}},
               18, UvRect{0, 0, 1, 1}, false);
    mesh.group("fins", material);
    for (int i = 0; i < 3; ++i) {
        mesh.box(T::rotationY(i * 2 * PI / 3) * T::translation(0.24f, -0.22f, 0), {0.1f, 0.18f, 0.02f},
                 UvRect{0, 0, 1, 0.05f});
    }
}

} // namespace

void generateModels(Output& output)
{
    output.makeDirectory("models");
    output.makeDirectory("textures");

    output.writePng("textures/sky.png", skyTexture(), false);
    output.writePng("textures/house.png", houseTexture(), false);
    output.writePng("textures/buoy.png", buoyTexture(), false);
    output.writePng("textures/bannerstart.png", bannerTexture("START", rgb(30, 110, 200)), false);
    output.writePng("textures/bannerfinish.png", bannerTexture("FINISH", rgb(210, 40, 50)), false);
    output.writePng("textures/pole.png", poleTexture(), false);
    output.writePng("textures/traffic.png", trafficTexture(), false);
    output.writePng("textures/rope.png", ropeTexture(), false);
    output.writePng("textures/stone.png", stoneTexture(), false);
    output.writePng("textures/medicareskin.png", medicareTexture(), false);
    output.writePng("textures/oxygenskin.png", oxygenTexture(), false);
    output.writePng("textures/bananaskin.png", bananaTexture(), false);
    output.writePng("textures/pulsoskin.png", pulsoTexture(), false);

    const struct {
        const char* file;
        void (*build)(MeshBuilder&);
    } models[] = {
        {"sky.ms3d", buildSky},
        {"finishhouse.ms3d", buildHouse},
        {"bumper.ms3d", buildBuoy},
        {"banner.ms3d", [](MeshBuilder& mesh) { buildBanner(mesh, "bannerstart.png"); }},
        {"finishbanner.ms3d", [](MeshBuilder& mesh) { buildBanner(mesh, "bannerfinish.png"); }},
        {"traffic.ms3d", buildTrafficLight},
        {"catchmesh.ms3d", buildCatchNet},
        {"stone1.ms3d", buildStone},
        {"medicare.ms3d", buildMedicare},
        {"oxygen.ms3d", buildOxygen},
        {"banana.ms3d", buildBanana},
        {"pulso.ms3d", buildPulso},
    };
    for (const auto& model : models) {
        MeshBuilder mesh;
        model.build(mesh);
        save(output, model.file, mesh);
    }
    writeDucks(output);
}

} // namespace VeltaTools

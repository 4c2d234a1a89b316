#include "Ducks.h"

#include "Font.h"
#include "MeshBuilder.h"
#include "Noise.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace VeltaTools {

namespace {

constexpr float PI = 3.14159265f;
using T = Transform;

/// Skin atlas regions (256 × 256).
const UvRect BODY{0, 0, 1, 0.5f};
const UvRect HEAD{0, 0.5f, 0.5f, 1};
const UvRect BEAK{0.5f, 0.5f, 0.75f, 0.75f};
const UvRect EYE{0.75f, 0.5f, 1, 0.75f};
const UvRect WING{0.5f, 0.75f, 0.75f, 1};
const UvRect EXTRA{0.75f, 0.75f, 1, 1};

struct Look {
    std::string name;
    Rgba back, flank, belly, breast, tail;
    Rgba head, headAccent, beak, wing, wingAccent, extra;
    bool collar = false;     ///< white ring at the neck
    bool stripes = false;    ///< racing stripes along the back
    bool topHat = false;
    bool goggles = false;
    std::string number;      ///< start number on the flanks
};

std::vector<Look> looks()
{
    std::vector<Look> list;
    Look mallard;
    mallard.name = "mallard";
    mallard.back = rgb(92, 84, 78);
    mallard.flank = rgb(176, 172, 166);
    mallard.belly = rgb(210, 206, 196);
    mallard.breast = rgb(128, 66, 40);
    mallard.tail = rgb(40, 40, 44);
    mallard.head = rgb(24, 110, 58);
    mallard.headAccent = rgb(40, 150, 90);
    mallard.beak = rgb(236, 200, 40);
    mallard.wing = rgb(120, 104, 90);
    mallard.wingAccent = rgb(50, 80, 200);
    mallard.extra = rgb(240, 240, 240);
    mallard.collar = true;
    list.push_back(mallard);

    Look rallye;
    rallye.name = "rallye";
    rallye.back = rgb(210, 30, 36);
    rallye.flank = rgb(226, 40, 44);
    rallye.belly = rgb(250, 240, 230);
    rallye.breast = rgb(232, 52, 52);
    rallye.tail = rgb(250, 250, 250);
    rallye.head = rgb(250, 250, 250);
    rallye.headAccent = rgb(210, 30, 36);
    rallye.beak = rgb(255, 150, 30);
    rallye.wing = rgb(190, 24, 30);
    rallye.wingAccent = rgb(255, 255, 255);
    rallye.extra = rgb(30, 30, 34);
    rallye.stripes = true;
    rallye.goggles = true;
    rallye.number = "7";
    list.push_back(rallye);

    Look rallye2 = rallye;
    rallye2.name = "rallye2";
    rallye2.back = rgb(30, 80, 200);
    rallye2.flank = rgb(40, 100, 220);
    rallye2.breast = rgb(50, 110, 230);
    rallye2.tail = rgb(255, 220, 40);
    rallye2.head = rgb(255, 220, 40);
    rallye2.headAccent = rgb(30, 80, 200);
    rallye2.wing = rgb(26, 70, 180);
    rallye2.wingAccent = rgb(255, 220, 40);
    rallye2.number = "2";
    list.push_back(rallye2);

    Look meister;
    meister.name = "meister";
    meister.back = rgb(30, 30, 36);
    meister.flank = rgb(44, 44, 52);
    meister.belly = rgb(244, 244, 240);
    meister.breast = rgb(246, 246, 242);
    meister.tail = rgb(20, 20, 24);
    meister.head = rgb(36, 36, 44);
    meister.headAccent = rgb(70, 70, 80);
    meister.beak = rgb(255, 140, 20);
    meister.wing = rgb(26, 26, 30);
    meister.wingAccent = rgb(200, 40, 50);
    meister.extra = rgb(20, 20, 22);
    meister.topHat = true;
    list.push_back(meister);

    Look velta;
    velta.name = "velta";
    velta.back = rgb(96, 50, 160);
    velta.flank = rgb(120, 70, 190);
    velta.belly = rgb(180, 240, 230);
    velta.breast = rgb(40, 190, 180);
    velta.tail = rgb(40, 190, 180);
    velta.head = rgb(40, 190, 180);
    velta.headAccent = rgb(120, 240, 220);
    velta.beak = rgb(255, 200, 60);
    velta.wing = rgb(80, 40, 140);
    velta.wingAccent = rgb(255, 200, 60);
    velta.extra = rgb(255, 200, 60);
    velta.number = "V";
    list.push_back(velta);
    return list;
}

/// Paints a region of the skin from a function of the region's own (u, v).
void paint(Image& image, const UvRect& region, const std::function<Rgba(float, float)>& colour)
{
    const int x0 = static_cast<int>(region.s0 * image.getWidth()), x1 = static_cast<int>(region.s1 * image.getWidth());
    const int y0 = static_cast<int>(region.t0 * image.getHeight()), y1 = static_cast<int>(region.t1 * image.getHeight());
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const float u = (x + 0.5f - x0) / (x1 - x0);
            const float v = (y + 0.5f - y0) / (y1 - y0);
            image.at(x, y) = colour(u, v);
        }
    }
}

Image skin(const Look& look)
{
    Image image(256, 256);
    // Body: u runs around (0 = right side, 0.25 = top of the back, 0.5 =
    // left side, 0.75 = belly), v along from the tail (0) to the chest (1).
    paint(image, BODY, [&look](float u, float t) {
        const float v = 1.0f - t;
        const float up = std::sin(u * 2 * PI);  // 1 on the back, -1 under the belly
        const float feather = 0.92f + 0.08f * valueNoise(u * 40, v * 16, 1001u);
        Rgba c = up > 0.45f ? mix(look.flank, look.back, std::min(1.0f, (up - 0.45f) * 3)) : look.flank;
        if (up < -0.2f) {
            c = mix(look.flank, look.belly, std::min(1.0f, (-0.2f - up) * 2.5f));
        }
        if (v > 0.7f) {
            c = mix(c, look.breast, std::min(1.0f, (v - 0.7f) * 6));
        }
        if (v < 0.16f) {
            c = mix(look.tail, c, v / 0.16f);
        }
        if (look.stripes && std::abs(u - 0.25f) > 0.012f && std::abs(u - 0.25f) < 0.04f) {
            c = look.wingAccent;
        }
        return c.scaled(feather);
    });
    if (!look.number.empty()) {
        // The start number in a white disc on each flank. Across the body
        // region the image's x runs around the body (upwards on the right
        // flank, downwards on the left) and its y runs towards the tail, so
        // the number is drawn upright first and then turned into place.
        Image badge(44, 44);
        badge.fillEllipse(22, 22, 20, 17, rgb(255, 255, 255));
        Font bold(sansBoldFontPath());
        bold.drawCentred(badge, look.number, 24, 22, 22, rgb(20, 20, 24));
        const int along = 62; // image row of the badge's centre (mid body)
        for (int gy = 0; gy < 44; ++gy) {
            for (int gx = 0; gx < 44; ++gx) {
                const Rgba& p = badge.at(gx, gy);
                // Right flank (+x, u = 0): the reader's right is the tail, down is -u.
                const int rightX = ((0 - (gy - 22)) % 256 + 256) % 256;
                image.blend(rightX, along + (gx - 22), p);
                // Left flank (-x, u = 0.5): the reader's right is the chest, down is +u.
                image.blend(128 + (gy - 22), along - (gx - 22), p);
            }
        }
    }
    // Head: u around (0 = right, 0.25 = front... as the sphere runs), v top to bottom.
    paint(image, HEAD, [&look](float u, float v) {
        Rgba c = mix(look.headAccent, look.head, std::min(1.0f, v * 1.8f));
        const float sheen = 0.9f + 0.1f * std::sin(u * 6 * PI);
        c = c.scaled(sheen);
        if (look.collar && v > 0.86f) {
            c = look.extra;
        }
        if (look.goggles && v > 0.36f && v < 0.5f) {
            c = look.extra;
        }
        return c;
    });
    paint(image, BEAK, [&look](float, float v) { return look.beak.scaled(0.8f + 0.25f * (1 - v)); });
    paint(image, EYE, [](float u, float v) {
        const float d = std::sqrt((u - 0.35f) * (u - 0.35f) + (v - 0.3f) * (v - 0.3f));
        return d < 0.14f ? rgb(255, 255, 255) : rgb(12, 12, 16);
    });
    paint(image, WING, [&look](float u, float v) {
        Rgba c = look.wing;
        if (v > 0.55f && v < 0.72f) {
            c = look.wingAccent;
        }
        const float feather = std::fmod(u * 6.0f, 1.0f) < 0.08f ? 0.7f : 1.0f;
        return c.scaled(feather * (0.85f + 0.15f * v));
    });
    paint(image, EXTRA, [&look](float, float v) {
        return v > 0.6f && v < 0.78f ? rgb(210, 40, 50) : look.extra;
    });
    return image;
}

/// Body: a rounded hull, flat-ish under the water, high at the back where the
/// tail turns up, full at the chest.
Vec3 bodyPoint(float u, float v)
{
    // v: 0 at the tail tip, 1 at the chest tip; the rings crowd towards both
    // tips (cosine spacing), so the ends come out round.
    const float theta = PI * (1.0f - v);
    const float z = -0.02f + 0.6f * std::cos(theta);
    const float across = std::sin(theta);
    const float width = 0.34f * std::pow(across, 0.75f) * (v < 0.3f ? 0.7f + v : 1.0f);
    const float top = 0.22f * std::pow(across, 0.6f);
    const float bottom = 0.27f * std::pow(across, 0.8f);
    const float tail = std::clamp((0.3f - v) / 0.3f, 0.0f, 1.0f);
    const float centre = 0.2f * tail * tail; // the tail turns up
    const float a = u * 2 * PI;
    const float c = std::cos(a), s = std::sin(a);
    const float y = centre + (s > 0 ? top * s : bottom * s);
    return Vec3{width * c, y, z};
}

void buildDuck(MeshBuilder& mesh, const Look& look)
{
    const int material = mesh.material(look.name, look.name + "skin.png");
    mesh.group("body", material);
    // Around the z axis, from the chest (v = 0) to the tail: a sphere's grid
    // turned to lie along z, so the surface's front stays outside.
    mesh.surface(T(), 14, 16, BODY, [](float u, float v) { return bodyPoint(u, 1.0f - v); });

    mesh.group("head", material);
    mesh.lathe(T(), {{0.0f, 0.06f}, {0.13f, 0.08f}, {0.11f, 0.2f}, {0.1f, 0.3f}, {0.0f, 0.34f}}, 12,
               UvRect{HEAD.s0, 0.96f, HEAD.s1, 1.0f}, true);
    const T head = T::translation(0, 0.43f, 0.34f) * T::rotationY(PI / 2);
    mesh.sphere(head * T::scaling(0.19f, 0.18f, 0.17f), 8, 14, HEAD);

    mesh.group("beak", material);
    mesh.sphere(T::translation(0, 0.38f, 0.56f) * T::scaling(0.085f, 0.032f, 0.14f), 6, 10, BEAK);

    mesh.group("eyes", material);
    for (float side : {1.0f, -1.0f}) {
        mesh.sphere(T::translation(0.142f * side, 0.47f, 0.44f) * T::rotationY(side * PI / 2) *
                        T::scaling(0.035f, 0.04f, 0.035f),
                    5, 8, EYE);
    }

    mesh.group("wings", material);
    for (float side : {1.0f, -1.0f}) {
        mesh.sphere(T::translation(0.3f * side, 0.1f, -0.08f) * T::rotationZ(-0.45f * side) * T::rotationX(-0.12f) *
                        T::scaling(0.06f, 0.13f, 0.32f),
                    6, 10, WING);
    }

    mesh.group("tail", material);
    mesh.sphere(T::translation(0, 0.28f, -0.6f) * T::rotationX(0.7f) * T::scaling(0.1f, 0.03f, 0.12f), 5, 8, WING);

    if (look.topHat) {
        mesh.group("hat", material);
        mesh.lathe(T::translation(0, 0.58f, 0.32f) * T::rotationX(-0.15f),
                   {{0.0f, 0.0f}, {0.2f, 0.0f}, {0.2f, 0.02f}, {0.11f, 0.03f}, {0.11f, 0.26f}, {0.0f, 0.26f}}, 14,
                   EXTRA, false);
    }
    if (look.goggles) {
        mesh.group("goggles", material);
        for (float side : {1.0f, -1.0f}) {
            mesh.sphere(T::translation(0.1f * side, 0.52f, 0.47f) * T::scaling(0.06f, 0.045f, 0.03f), 5, 8, EXTRA);
        }
    }
}

} // namespace

void writeDucks(Output& output)
{
    for (const Look& look : looks()) {
        output.writePng("textures/" + look.name + "skin.png", skin(look), false);
        MeshBuilder mesh;
        buildDuck(mesh, look);
        output.writeBytes("models/" + look.name + ".ms3d", mesh.finish().toBytes());
    }
}

} // namespace VeltaTools

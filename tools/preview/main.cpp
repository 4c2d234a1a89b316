// Draws one contact sheet of the generated content: every texture (over a
// checkerboard, so transparency shows), two views of the valley with its
// water, and a rendering of every model.
//   preview <data directory> <sheet.png>
#include "Course.h"
#include "Font.h"
#include "ImageFile.h"
#include "ModelFile.h"
#include "Rasteriser.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

using namespace VeltaTools;

namespace {

constexpr int COLUMNS = 8;
constexpr int TILE = 170;
constexpr int LABEL = 16;

Image toImage(const RawImage& raw)
{
    Image image(raw.width, raw.height);
    for (int y = 0; y < raw.height; ++y) {
        for (int x = 0; x < raw.width; ++x) {
            const std::uint8_t* p = &raw.pixels[(static_cast<std::size_t>(y) * raw.width + x) * raw.channels];
            image.at(x, y) = raw.channels == 1 ? Rgba{p[0] / 255.0f, p[0] / 255.0f, p[0] / 255.0f, 1.0f}
                                               : Rgba{p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, p[3] / 255.0f};
        }
    }
    return image;
}

/// Draws `source` scaled to fit a box, over a checkerboard.
void drawFitted(Image& sheet, const Image& source, int x0, int y0, int width, int height)
{
    const float scale = std::min(static_cast<float>(width) / source.getWidth(),
                                 static_cast<float>(height) / source.getHeight());
    const int w = std::max(1, static_cast<int>(source.getWidth() * scale));
    const int h = std::max(1, static_cast<int>(source.getHeight() * scale));
    const int ox = x0 + (width - w) / 2;
    const int oy = y0 + (height - h) / 2;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool dark = ((x / 8) + (y / 8)) % 2 == 0;
            sheet.at(ox + x, oy + y) = dark ? rgb(96, 96, 104) : rgb(150, 150, 158);
            const int sx = std::min(source.getWidth() - 1, static_cast<int>(x / scale));
            const int sy = std::min(source.getHeight() - 1, static_cast<int>(y / scale));
            sheet.blend(ox + x, oy + y, source.at(sx, sy));
        }
    }
}

struct Sheet {
    Image image;
    Font font{sansFontPath()};
    Font bold{sansBoldFontPath()};
    int cursorY = 0;
    int column = 0;

    explicit Sheet(int height) : image(COLUMNS * TILE, height, rgb(34, 36, 44)) {}

    void heading(const std::string& text)
    {
        if (column != 0) {
            cursorY += TILE + LABEL;
            column = 0;
        }
        bold.drawText(image, text, 22, 10, static_cast<float>(cursorY + 28), rgb(240, 240, 240));
        cursorY += 40;
    }
    void tile(const Image& content, const std::string& label)
    {
        const int x = column * TILE;
        drawFitted(image, content, x + 5, cursorY + 5, TILE - 10, TILE - 10);
        font.drawCentred(image, label, 11, x + TILE * 0.5f, static_cast<float>(cursorY + TILE + 5), rgb(220, 220, 220));
        if (++column == COLUMNS) {
            column = 0;
            cursorY += TILE + LABEL;
        }
    }
    void wide(const Image& content, int columns, const std::string& label)
    {
        if (column + columns > COLUMNS) {
            column = 0;
            cursorY += TILE * 2 + LABEL;
        }
        const int x = column * TILE;
        drawFitted(image, content, x + 5, cursorY + 5, TILE * columns - 10, TILE * 2 - 10);
        font.drawCentred(image, label, 11, x + TILE * columns * 0.5f, static_cast<float>(cursorY + TILE * 2 + 5),
                         rgb(220, 220, 220));
        column += columns;
        if (column >= COLUMNS) {
            column = 0;
            cursorY += TILE * 2 + LABEL;
        }
    }
};

std::map<std::string, RawImage> gTextureCache;

const RawImage* texture(const std::string& dataDir, const std::string& name)
{
    if (name.empty()) {
        return nullptr;
    }
    auto found = gTextureCache.find(name);
    if (found == gTextureCache.end()) {
        RawImage raw;
        readPng(dataDir + "/textures/" + name, raw);
        found = gTextureCache.emplace(name, raw).first;
    }
    return found->second.width > 0 ? &found->second : nullptr;
}

Rgba averageColour(const RawImage& raw)
{
    double sum[3] = {0, 0, 0};
    const std::size_t count = static_cast<std::size_t>(raw.width) * raw.height;
    for (std::size_t i = 0; i < count; ++i) {
        for (int c = 0; c < 3; ++c) {
            sum[c] += raw.pixels[i * 4 + c];
        }
    }
    return {static_cast<float>(sum[0] / count / 255), static_cast<float>(sum[1] / count / 255),
            static_cast<float>(sum[2] / count / 255), 1.0f};
}

/// The valley from `camera`, coloured the way the terrain layers combine.
Image renderValley(const std::string& dataDir, const Camera& camera, int width, int height)
{
    RawImage heights, prim, rocks, grass, river, riverMask;
    readPcx(dataDir + "/textures/heightmap.pcx", heights);
    readPng(dataDir + "/textures/primcolor.png", prim);
    readPng(dataDir + "/textures/rockscolor.png", rocks);
    readPng(dataDir + "/textures/grasscolor.png", grass);
    readPng(dataDir + "/textures/rivercolor.png", river);
    readPng(dataDir + "/textures/riveralpha.png", riverMask);
    Rasteriser raster(width, height, rgb(150, 190, 235));
    raster.setCamera(camera);
    if (heights.width != 256 || prim.width != 256 || riverMask.width != 256) {
        return raster.getImage();
    }
    const Rgba rock = averageColour(rocks), lawn = averageColour(grass), bed = averageColour(river);
    const int n = 256;
    const float spacing = Course::TILE_SIZE / (n - 1);
    std::vector<RasterVertex> vertices(static_cast<std::size_t>(n) * n);
    const auto h = [&](int i, int j) {
        i = std::clamp(i, 0, n - 1);
        j = std::clamp(j, 0, n - 1);
        return heights.pixels[static_cast<std::size_t>(j) * n + i] / 255.0f * Course::MAX_HEIGHT;
    };
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            RasterVertex& v = vertices[static_cast<std::size_t>(j) * n + i];
            v.position = {i * spacing, h(i, j), j * spacing};
            const float nx = (h(i - 1, j) - h(i + 1, j)) / (2 * spacing);
            const float nz = (h(i, j - 1) - h(i, j + 1)) / (2 * spacing);
            const float length = std::sqrt(nx * nx + 1 + nz * nz);
            v.normal = {nx / length, 1 / length, nz / length};
            const std::uint8_t* p = &prim.pixels[(static_cast<std::size_t>(j) * n + i) * 4];
            const float grassWeight = p[3] / 255.0f;
            const float riverWeight = riverMask.pixels[(static_cast<std::size_t>(j) * n + i) * 4] / 255.0f;
            Rgba c{rock.r * p[0] / 255.0f, rock.g * p[1] / 255.0f, rock.b * p[2] / 255.0f, 1};
            c = mix(c, lawn, grassWeight);
            c = mix(c, bed, riverWeight);
            const float slopeLight = 0.6f + 0.4f * v.normal[1];
            v.colour = c.scaled(slopeLight * 1.3f);
        }
    }
    for (int j = 0; j + 1 < n; ++j) {
        for (int i = 0; i + 1 < n; ++i) {
            const RasterVertex& a = vertices[static_cast<std::size_t>(j) * n + i];
            const RasterVertex& b = vertices[static_cast<std::size_t>(j) * n + i + 1];
            const RasterVertex& c = vertices[static_cast<std::size_t>(j + 1) * n + i];
            const RasterVertex& d = vertices[static_cast<std::size_t>(j + 1) * n + i + 1];
            raster.drawTriangle(a, b, d);
            raster.drawTriangle(a, d, c);
        }
    }
    raster.setOpacity(0.8f);
    raster.setLit(false);
    const auto& sections = Course::crossSections();
    for (std::size_t k = 1; k < sections.size(); ++k) {
        const auto corner = [](const Course::Point3& p) {
            RasterVertex v;
            v.position = {p.x, p.y, p.z};
            v.colour = {0.1f, 0.38f, 0.58f, 1};
            return v;
        };
        const RasterVertex a = corner(sections[k - 1].left), b = corner(sections[k - 1].right);
        const RasterVertex c = corner(sections[k].left), d = corner(sections[k].right);
        raster.drawTriangle(a, b, d);
        raster.drawTriangle(a, d, c);
    }
    return raster.getImage();
}

Image renderModel(const std::string& dataDir, const std::string& file, int size)
{
    ModelFile model;
    Rasteriser raster(size, size, rgb(58, 62, 74));
    if (!readModelFile(dataDir + "/models/" + file, model) || model.triangles.empty()) {
        return raster.getImage();
    }
    const bool sky = file == "sky.ms3d";
    if (sky) {
        // The course turns the dome half a turn about x.
        for (auto& triangle : model.triangles) {
            for (auto& corner : triangle.corners) {
                corner.position = {corner.position[0], -corner.position[1], -corner.position[2]};
                corner.normal = {corner.normal[0], -corner.normal[1], -corner.normal[2]};
            }
        }
    }
    Vec3f low{1e9f, 1e9f, 1e9f}, high{-1e9f, -1e9f, -1e9f};
    for (const auto& triangle : model.triangles) {
        for (const auto& corner : triangle.corners) {
            for (int i = 0; i < 3; ++i) {
                low[i] = std::min(low[i], corner.position[i]);
                high[i] = std::max(high[i], corner.position[i]);
            }
        }
    }
    const Vec3f centre{(low[0] + high[0]) / 2, (low[1] + high[1]) / 2, (low[2] + high[2]) / 2};
    float radius = 0;
    for (int i = 0; i < 3; ++i) {
        radius = std::max(radius, (high[i] - low[i]) / 2);
    }
    Camera camera;
    if (sky) {
        camera.eye = {0, 0.05f, 0};
        camera.target = {0.3f, 0.35f, 1};
        camera.fovY = 100;
    } else {
        camera.target = centre;
        camera.eye = {centre[0] + radius * 2.0f, centre[1] + radius * 1.3f, centre[2] + radius * 2.6f};
        camera.fovY = 34;
    }
    raster.setCamera(camera);
    raster.setLit(!sky);
    for (const auto& triangle : model.triangles) {
        raster.setTexture(texture(dataDir, triangle.texture));
        RasterVertex corners[3] = {triangle.corners[0], triangle.corners[1], triangle.corners[2]};
        for (auto& corner : corners) {
            corner.colour = triangle.texture.empty() ? triangle.diffuse : Rgba{1, 1, 1, 1};
        }
        raster.drawTriangle(corners[0], corners[1], corners[2]);
    }
    return raster.getImage();
}

std::vector<std::string> filesUnder(const std::string& root, const std::string& extension)
{
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root, error)) {
        if (entry.is_regular_file() && entry.path().extension() == extension) {
            files.push_back(std::filesystem::relative(entry.path(), root).generic_string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <data directory> <sheet.png>\n", argv[0]);
        return 2;
    }
    const std::string dataDir = argv[1];
    const std::vector<std::string> textures = filesUnder(dataDir + "/textures", ".png");
    const std::vector<std::string> models = filesUnder(dataDir + "/models", ".ms3d");
    const int rows = static_cast<int>((textures.size() + 1) / COLUMNS + 1) + 4 + static_cast<int>(models.size() / 4 + 1) * 2;
    Sheet sheet(rows * (TILE + LABEL) + 200);

    sheet.heading("Textures");
    RawImage heights;
    if (readPcx(dataDir + "/textures/heightmap.pcx", heights)) {
        sheet.tile(toImage(heights), "heightmap.pcx");
    }
    for (const std::string& file : textures) {
        RawImage raw;
        if (readPng(dataDir + "/textures/" + file, raw)) {
            sheet.tile(toImage(raw), file);
        }
    }

    sheet.heading("Valley");
    Camera overview;
    overview.eye = {-90, 330, 620};
    overview.target = {260, 10, 250};
    overview.fovY = 42;
    sheet.wide(renderValley(dataDir, overview, 680, 400), 4, "valley from the south-west corner");
    Camera start;
    start.eye = {76, 44, 96};
    start.target = {84, 30, 170};
    start.fovY = 60;
    sheet.wide(renderValley(dataDir, start, 680, 400), 4, "looking down the river from the start");

    sheet.heading("Models");
    for (const std::string& file : models) {
        sheet.wide(renderModel(dataDir, file, 330), 2, file);
    }
    if (sheet.column != 0) {
        sheet.cursorY += TILE * 2 + LABEL;
    }
    Image cropped(COLUMNS * TILE, std::min(sheet.image.getHeight(), sheet.cursorY + 10));
    cropped.drawImage(sheet.image, 0, 0);
    if (!writePng(argv[2], cropped, false)) {
        std::fprintf(stderr, "preview: could not write %s\n", argv[2]);
        return 1;
    }
    return 0;
}

#include "plugins/Ms3dFixture.h"
#include "resource/TextureInfo.h"
#include "geometry/GeometryObject.h"
#include "resource/Material.h"
#include "resource/Texture.h"

#include <memory>

#include <gtest/gtest.h>

using CppLib::SharedPtr;
using Velta::Color;
using Velta::TextureSource;
using VeltaTest::ImageFiles;
using Bytes = ImageFiles::Bytes;

namespace {

const Bytes RGB_3X2 = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30, 40, 50, 60, 70, 80, 90};

Bytes pixelOf(const SharedPtr<TextureSource>& source, unsigned int x, unsigned int y)
{
    if (source.isNull()) {
        ADD_FAILURE() << "nothing decoded";
        return {};
    }
    const auto* at = static_cast<const unsigned char*>(source->getPixel(x, y, 0));
    return at ? Bytes(at, at + source->getTextureInfo().getChannels()) : Bytes();
}

/// A 4 KiB 32-bit TGA whose header names 32768 × 32769 pixels, of which
/// DevIL's 32-bit arithmetic once allocated a few bytes and then flipped its
/// rows far past them.
Bytes hugeTga()
{
    Bytes file = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x80, 0x01, 0x80, 32, 8};
    file.resize(4096, 0x55);
    return file;
}

/// A 16-colour PCX (1 bit, 4 planes) 2048 pixels wide whose lines claim one
/// byte: DevIL once read each line's 256 bytes from a buffer of one.
Bytes narrowLinePcx()
{
    Bytes file = ImageFiles::pcx(2, 1, {1, 2}, Bytes(768, 0));
    file[3] = 1;         // bits per pixel
    file[8] = 0xff;      // last column 2047
    file[9] = 0x07;
    file[65] = 4;        // planes
    file[66] = 1;        // bytes per line
    file[67] = 0;
    return file;
}

} // namespace

using DevILFormats = VeltaTest::Ms3dFixture;

TEST_F(DevILFormats, JpegBmpAndTgaDecodeAndEveryFormatIsToldByContentNotName)
{
    const SharedPtr<TextureSource> grey = load("grey.jpg", ImageFiles::jpegGrey(200));
    ASSERT_FALSE(grey.isNull());
    EXPECT_EQ(Velta::TextureInfo(8, 8, 1, Color::LUMINANCE, Velta::DataType::UNSIGNED_BYTE), grey->getTextureInfo());
    EXPECT_EQ((Bytes{200}), pixelOf(grey, 7, 7));
    EXPECT_EQ((Bytes{37}), pixelOf(load("dark.jpg", ImageFiles::jpegGrey(37)), 0, 0));

    for (const auto& [name, file] : {std::pair{"rgb.bmp", ImageFiles::bmp(3, 2, RGB_3X2)},
                                     std::pair{"topdown.bmp", ImageFiles::bmp(3, 2, RGB_3X2, true)},
                                     std::pair{"rgb.tga", ImageFiles::tga(3, 2, RGB_3X2)},
                                     // Misnamed files decode as what they are.
                                     std::pair{"tga.png", ImageFiles::tga(3, 2, RGB_3X2)},
                                     std::pair{"png.tga", ImageFiles::png(3, 2, ImageFiles::RGB, RGB_3X2)},
                                     std::pair{"bmp.pcx", ImageFiles::bmp(3, 2, RGB_3X2)},
                                     std::pair{"pcx", ImageFiles::pcx(3, 2, RGB_3X2)}}) {
        SCOPED_TRACE(name);
        const SharedPtr<TextureSource> source = load(name, file);
        EXPECT_EQ((Bytes{10, 20, 30}), pixelOf(source, 0, 1)) << "first pixel of the second row";
        EXPECT_EQ((Bytes{0, 0, 255}), pixelOf(source, 2, 0));
    }
    EXPECT_TRUE(logged().empty());
}

TEST_F(DevILFormats, FilesThatCrashedOrHungTheDecoderAreRefusedWithOneLineAndCachedAsMissing)
{
    // 'icns', its size, then an element of length 0, which DevIL's reader
    // never got past.
    const Bytes icns = {'i', 'c', 'n', 's', 0, 0, 0, 16, 'i', 't', '3', '2', 0, 0, 0, 0};
    // A radiance header, whose size DevIL took from memory it never wrote.
    const std::string radiance = "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 4 +X 4\n";
    Bytes hdr(radiance.begin(), radiance.end());
    hdr.resize(hdr.size() + 64, 0x80);
    // A segment after the frame header of which only the length is there:
    // DevIL's skipping of it waited for the missing bytes for ever.
    Bytes unended = ImageFiles::jpegGrey(90);
    unended.resize(2 + 69 + 13);  // the start, the quantiser and the frame header
    unended.insert(unended.end(), {0xff, 0xe5, 0x02, 0x02});
    const std::string unread = "not an image format that is read (PNG, JPEG, BMP, TGA or PCX); the texture is missing";
    const std::pair<const char*, std::pair<Bytes, std::string>> cases[] = {
        {"huge.tga", {hugeTga(), "unsupported image size 32768 x 32769"}},
        {"sixteen.pcx", {narrowLinePcx(), "corrupt PCX header"}},
        {"unended.jpg", {unended, "truncated or corrupt JPEG file"}},
        {"icon.icns", {icns, unread}},
        {"sky.hdr", {hdr, unread}},
        {"sky.png", {hdr, unread}},
    };
    for (const auto& [name, file] : cases) {
        SCOPED_TRACE(name);
        write(name, file.first);
        EXPECT_TRUE(textures().getTextureSource(name).isNull());
        EXPECT_TRUE(textures().getTextureSource(name).isNull());
        EXPECT_EQ(std::vector<std::string>{failure(name) + file.second}, logged());
    }
}

TEST_F(DevILFormats, AModelWhoseSkinIsAHugeTgaLoadsUntextured)
{
    VeltaTools::Ms3dWriter model(4);
    for (const Writer::Vec3& p : {Writer::Vec3{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}) {
        model.addVertex(p);
    }
    Writer::Material skin;
    skin.texture = "skin.tga";
    const std::size_t group = model.addGroup("body", model.addMaterial(skin));
    Writer::Corner corners[3];
    for (std::uint16_t k = 0; k < 3; ++k) {
        corners[k].vertex = k;
        corners[k].normal = Writer::Vec3{0, 0, 1};
    }
    model.addTriangle(group, corners[0], corners[1], corners[2]);
    write("models/duck.ms3d", model.toBytes());
    write("skin.tga", hugeTga());

    const std::unique_ptr<Velta::GeometryObject> duck(
        dynamic_cast<Velta::GeometryObject*>(objects().createObject("duck.ms3d")));
    ASSERT_NE(duck, nullptr);
    EXPECT_TRUE(duck->getDefaultMaterial(0)->getTexture(0).isNull());
    EXPECT_EQ(std::vector<std::string>{failure("skin.tga") + "unsupported image size 32768 x 32769"}, logged());
}

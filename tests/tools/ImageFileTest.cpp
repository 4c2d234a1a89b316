#include "Course.h"
#include "ImageFile.h"
#include "Valley.h"

#include <IL/il.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace VeltaTools;

TEST(ImageFiles, PngKeepsEveryChannelOfEveryPixel)
{
    Image image(5, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            // Colour is kept where alpha is 0: some maps use alpha as a weight.
            image.at(x, y) = rgb(x * 50, y * 100, 255 - x * 40, x == 0 ? 0 : 60 * y + 10);
        }
    }
    const std::string path = testing::TempDir() + "roundtrip.png";
    for (bool alpha : {true, false}) {
        ASSERT_TRUE(writePng(path, image, alpha));
        RawImage read;
        ASSERT_TRUE(readPng(path, read));
        ASSERT_EQ(read.width, 5);
        ASSERT_EQ(read.height, 3);
        const std::vector<std::uint8_t> expected = image.toRgba8();
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const std::uint8_t want = (i % 4 == 3 && !alpha) ? 255 : expected[i];
            ASSERT_EQ(read.pixels[i], want) << "byte " << i << (alpha ? " with alpha" : " without alpha");
        }
    }
    std::remove(path.c_str());
}

TEST(ImageFiles, PcxRunsStayWithinLinesAndHighValuesAreEscaped)
{
    // Odd width (lines are padded), long runs (past the 63 a run can hold),
    // and single values of 0xC0 and above, which need a run byte.
    const int width = 131, height = 4;
    std::vector<std::uint8_t> samples(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t value = y == 0 ? 200 : static_cast<std::uint8_t>((x * 37 + y * 11) & 0xFF);
            if (y == 2) {
                value = x < 100 ? 7 : 0xC0 + (x & 0x3F);
            }
            samples[static_cast<std::size_t>(y) * width + x] = value;
        }
    }
    // Also the valley's height map, which the engine reads as one byte per
    // sample, row 0 first.
    const int size = Course::HEIGHTMAP_SIZE;
    const struct {
        int width, height;
        std::vector<std::uint8_t> samples;
    } cases[] = {{width, height, samples}, {size, size, carveValley().heightMap}};
    const std::string path = testing::TempDir() + "roundtrip.pcx";
    ilInit();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        ASSERT_TRUE(writePcx(path, c.width, c.height, c.samples));
        RawImage read;
        ASSERT_TRUE(readPcx(path, read));
        EXPECT_EQ(read.width, c.width);
        EXPECT_EQ(read.height, c.height);
        EXPECT_EQ(read.pixels, c.samples);

        ILuint image = 0;
        ilGenImages(1, &image);
        ilBindImage(image);
        ASSERT_TRUE(ilLoadImage(path.c_str())) << "DevIL error " << ilGetError();
        ASSERT_EQ(ilGetInteger(IL_IMAGE_WIDTH), c.width);
        ASSERT_EQ(ilGetInteger(IL_IMAGE_HEIGHT), c.height);
        EXPECT_EQ(ilGetInteger(IL_IMAGE_TYPE), IL_UNSIGNED_BYTE);
        const int channels = ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL);
        const ILubyte* data = ilGetData();
        ASSERT_NE(data, nullptr);
        for (std::size_t i = 0; i < c.samples.size(); ++i) {
            ASSERT_EQ(data[i * static_cast<std::size_t>(channels)], c.samples[i]) << "sample " << i;
        }
        ilDeleteImages(1, &image);
    }
    std::remove(path.c_str());

    EXPECT_TRUE(encodePcx(3, 3, samples).empty()); // size does not match the samples
}

#include "ImageFile.h"

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
    const std::string path = testing::TempDir() + "roundtrip.pcx";
    ASSERT_TRUE(writePcx(path, width, height, samples));

    RawImage read;
    ASSERT_TRUE(readPcx(path, read));
    EXPECT_EQ(read.width, width);
    EXPECT_EQ(read.height, height);
    EXPECT_EQ(read.pixels, samples);

    ilInit();
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    ASSERT_TRUE(ilLoadImage(path.c_str()));
    ASSERT_EQ(ilGetInteger(IL_IMAGE_WIDTH), width);
    const int channels = ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL);
    const ILubyte* data = ilGetData();
    for (std::size_t i = 0; i < samples.size(); ++i) {
        ASSERT_EQ(data[i * static_cast<std::size_t>(channels)], samples[i]) << "sample " << i;
    }
    ilDeleteImages(1, &image);
    std::remove(path.c_str());

    EXPECT_TRUE(encodePcx(3, 3, samples).empty()); // size does not match the samples
}

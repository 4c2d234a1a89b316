#include "plugins/loader/devil/DevILImageLayout.h"

#include "resource/TextureInfo.h"

#include <IL/il.h>

#include <vector>

namespace Velta {

namespace {

/// One palette entry in r, g, b, a order.
struct Rgba {
    ILubyte r, g, b, a;
};

/// Reads DevIL's palettes of 3 or 4 bytes an entry in either order.
class PaletteReader {
public:
    bool open(std::string& problem)
    {
        mEntries = ilGetPalette();
        mCount = ilGetInteger(IL_PALETTE_NUM_COLS);
        const ILint type = ilGetInteger(IL_PALETTE_TYPE);
        mEntryBytes = (type == IL_PAL_RGB24 || type == IL_PAL_BGR24) ? 3 : 4;
        mSwapped = type == IL_PAL_BGR24 || type == IL_PAL_BGR32 || type == IL_PAL_BGRA32;
        mHasAlpha = type == IL_PAL_RGBA32 || type == IL_PAL_BGRA32;
        const bool known = type >= IL_PAL_RGB24 && type <= IL_PAL_BGRA32;
        // DevIL counts the entries from the palette's size in bytes.
        if (!known || !mEntries || mCount <= 0 || ilGetInteger(IL_PALETTE_BPP) != mEntryBytes) {
            problem = "colour-index image without a usable palette";
            return false;
        }
        return true;
    }

    /// Indices beyond the palette read as opaque black.
    Rgba get(ILubyte index) const
    {
        if (index >= mCount) {
            return Rgba{0, 0, 0, 255};
        }
        const ILubyte* entry = mEntries + index * mEntryBytes;
        return Rgba{entry[mSwapped ? 2 : 0], entry[1], entry[mSwapped ? 0 : 2], mHasAlpha ? entry[3] : ILubyte(255)};
    }

private:
    const ILubyte* mEntries = nullptr;
    ILint mCount = 0;
    ILint mEntryBytes = 3;
    bool mSwapped = false;
    bool mHasAlpha = false;
};

unsigned long long dimension(ILenum which)
{
    const ILint value = ilGetInteger(which);
    return value > 0 ? static_cast<unsigned long long>(value) : 0;
}

/// The format DevIL converts the image to; the image's own when it is fine.
ILenum uploadFormat(ILenum format)
{
    switch (format) {
    case IL_RGB:
    case IL_RGBA:
    case IL_LUMINANCE: return format;
    case IL_BGR: return IL_RGB;
    default: return IL_RGBA;
    }
}

ILenum uploadType(ILenum type)
{
    switch (type) {
    case IL_BYTE:
    case IL_UNSIGNED_BYTE:
    case IL_SHORT:
    case IL_UNSIGNED_SHORT:
    case IL_INT:
    case IL_UNSIGNED_INT:
    case IL_FLOAT: return type;
    case IL_DOUBLE:
    case IL_HALF: return IL_FLOAT;
    default: return IL_UNSIGNED_BYTE;
    }
}

} // namespace

Color::Format DevILImageLayout::toColorFormat(unsigned int ilFormat)
{
    switch (ilFormat) {
    case IL_COLOUR_INDEX: return Color::SINGLE_CHANNEL;
    case IL_RGB: return Color::RGB;
    case IL_RGBA: return Color::RGBA;
    case IL_BGR: return Color::BGR;
    case IL_BGRA: return Color::BGRA;
    case IL_LUMINANCE: return Color::LUMINANCE;
    default: return Color::UNKNOWN;
    }
}

DataType::Type DevILImageLayout::toDataType(unsigned int ilType)
{
    switch (ilType) {
    case IL_BYTE: return DataType::BYTE;
    case IL_UNSIGNED_BYTE: return DataType::UNSIGNED_BYTE;
    case IL_SHORT: return DataType::SHORT;
    case IL_UNSIGNED_SHORT: return DataType::UNSIGNED_SHORT;
    case IL_INT: return DataType::INT;
    case IL_UNSIGNED_INT: return DataType::UNSIGNED_INT;
    case IL_FLOAT: return DataType::FLOAT;
    case IL_DOUBLE: return DataType::DOUBLE;
    default: return DataType::NONE;
    }
}

bool DevILImageLayout::makeUploadable(std::string& problem)
{
    const ILenum format = static_cast<ILenum>(ilGetInteger(IL_IMAGE_FORMAT));
    if (format == IL_COLOUR_INDEX) {
        return expandPalette(problem);
    }
    const ILenum type = static_cast<ILenum>(ilGetInteger(IL_IMAGE_TYPE));
    const ILenum wantedFormat = uploadFormat(format);
    const ILenum wantedType = uploadType(type);
    if ((wantedFormat != format || wantedType != type) && !ilConvertImage(wantedFormat, wantedType)) {
        problem = "cannot convert the image to RGB or RGBA";
        return false;
    }
    return true;
}

bool DevILImageLayout::expandPalette(std::string& problem)
{
    TextureInfo indexed;
    if (!describe(indexed, problem) || indexed.getDataType() != DataType::UNSIGNED_BYTE) {
        problem = "colour-index image of an unsupported layout";
        return false;
    }
    PaletteReader palette;
    if (!palette.open(problem)) {
        return false;
    }
    const ILubyte* indices = ilGetData();
    const size_t pixels = static_cast<size_t>(indexed.getMemSize());

    bool used[256] = {};
    for (size_t i = 0; i < pixels; ++i) {
        used[indices[i]] = true;
    }
    bool grey = true;
    bool opaque = true;
    for (unsigned int index = 0; index < 256; ++index) {
        const Rgba c = palette.get(static_cast<ILubyte>(index));
        grey = grey && (!used[index] || (c.r == c.g && c.g == c.b));
        opaque = opaque && (!used[index] || c.a == 255);
    }

    const unsigned int channels = opaque ? (grey ? 1 : 3) : 4;
    const ILenum format = opaque ? (grey ? IL_LUMINANCE : IL_RGB) : IL_RGBA;
    std::vector<ILubyte> colours(pixels * channels);
    ILubyte* out = colours.data();
    for (size_t i = 0; i < pixels; ++i, out += channels) {
        const Rgba c = palette.get(indices[i]);
        const ILubyte all[4] = {c.r, c.g, c.b, c.a};
        for (unsigned int k = 0; k < channels; ++k) {
            out[k] = all[k];
        }
    }
    if (!ilTexImage(indexed.getWidth(), indexed.getHeight(), indexed.getDepth(), static_cast<ILubyte>(channels),
                    format, IL_UNSIGNED_BYTE, colours.data())) {
        problem = "cannot convert the colour-index image";
        return false;
    }
    return true;
}

bool DevILImageLayout::describe(TextureInfo& info, std::string& problem)
{
    info = TextureInfo();
    info.setWidth(static_cast<unsigned int>(dimension(IL_IMAGE_WIDTH)));
    info.setHeight(static_cast<unsigned int>(dimension(IL_IMAGE_HEIGHT)));
    info.setDepth(static_cast<unsigned int>(dimension(IL_IMAGE_DEPTH)));
    info.setColorFormat(toColorFormat(static_cast<unsigned int>(ilGetInteger(IL_IMAGE_FORMAT))));
    info.setDataType(toDataType(static_cast<unsigned int>(ilGetInteger(IL_IMAGE_TYPE))));

    // DevIL sizes its block with 32-bit arithmetic; a block of any other size
    // than the layout needs is one that must not be read.
    const unsigned long long needed = info.getMemSize();
    if (info.getColorFormat() == Color::UNKNOWN || info.getDataType() == DataType::NONE || needed == 0
        || !ilGetData() || dimension(IL_IMAGE_SIZE_OF_DATA) != needed) {
        problem = "decoded image has an inconsistent layout";
        return false;
    }
    return true;
}

} // namespace Velta

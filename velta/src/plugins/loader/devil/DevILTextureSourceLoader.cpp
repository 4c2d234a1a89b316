#include "plugins/loader/devil/DevILTextureSourceLoader.h"

#include "core/LogManager.h"
#include "core/VeltaCore.h"
#include "cpplib/Logger.h"
#include "plugins/loader/devil/DevILImageLayout.h"
#include "plugins/loader/devil/DevILLibrary.h"
#include "plugins/loader/devil/DevILTextureData.h"
#include "plugins/loader/devil/ImageHeaderCheck.h"
#include "resource/NativePath.h"
#include "resource/ResourceFile.h"
#include "resource/TextureInfo.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <filesystem>
#include <vector>

namespace Velta {

using CppLib::SharedPtr;

namespace {

const char* const LOGGER_NAME = "loader.devil.textureloader";

/// DevIL takes the size of a file in memory as 32 bits; image files of a
/// game are far smaller.
const unsigned long long MAX_FILE_SIZE = 1ull << 30;

/// DevIL's error stack is bounded; the cap only keeps a library that never
/// empties it from holding the loader.
const int MAX_PENDING_ERRORS = 64;

void reportFailure(const NameMapper::ResourceInfo& info, const std::string& reason)
{
    // Named as it was opened, with this system's separators.
    VeltaCore::getLogger(LOGGER_NAME)
        ->error("Error opening " + NativePath::fromResourcePath(info.fileName) + ": " + reason);
}

std::string errorText(ILenum error)
{
    const char* text = iluErrorString(error);
    return text ? text : "unknown error";
}

/// DevIL's pending errors, oldest first, each named once; empties the stack.
std::string takeErrors()
{
    std::string joined;
    for (int i = 0; i < MAX_PENDING_ERRORS; ++i) {
        const ILenum error = ilGetError();
        if (error == IL_NO_ERROR) {
            break;
        }
        const std::string text = errorText(error);
        if (joined.find(text) == std::string::npos) {
            joined += (joined.empty() ? "" : "; ") + text;
        }
    }
    return joined;
}

/// DevIL's type for each format that is handed to it.
ILenum ilType(ImageHeaderCheck::Format format)
{
    switch (format) {
    case ImageHeaderCheck::PNG: return IL_PNG;
    case ImageHeaderCheck::PCX: return IL_PCX;
    case ImageHeaderCheck::JPEG: return IL_JPG;
    case ImageHeaderCheck::BMP: return IL_BMP;
    case ImageHeaderCheck::TGA: return IL_TGA;
    default: return IL_TYPE_UNKNOWN;
    }
}

/// The type the file is decoded as, told by its content (never its name);
/// false with `problem` set when the format is not one DevIL is given or the
/// file fails its format's check (see ImageHeaderCheck).
bool checkFile(const std::vector<unsigned char>& bytes, ILenum& type, std::string& problem)
{
    const ImageHeaderCheck::Format format = ImageHeaderCheck::recognise(bytes.data(), bytes.size());
    if (format == ImageHeaderCheck::UNKNOWN) {
        problem = "not an image format that is read (PNG, JPEG, BMP, TGA or PCX); the texture is missing";
        return false;
    }
    type = ilType(format);
    return ImageHeaderCheck::check(format, bytes.data(), bytes.size(), problem);
}

/// The whole file; false with `problem` set when it cannot be read or is
/// empty or too large.
bool readFile(const std::string& fileName, std::vector<unsigned char>& bytes, std::string& problem)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(NativePath::fromResourcePath(fileName), error);
    if (!error && size > MAX_FILE_SIZE) {
        problem = "file too large";
        return false;
    }
    if (error || !ResourceFile::readAll(fileName, bytes)) {
        problem = errorText(IL_COULD_NOT_OPEN_FILE);
        return false;
    }
    if (bytes.empty() || bytes.size() > MAX_FILE_SIZE) {
        problem = bytes.empty() ? "empty file" : "file too large";
        return false;
    }
    return true;
}

/// Decodes the file into the bound image in an uploadable layout; false
/// with `problem` set when that fails.
bool decodeBound(ILenum type, const std::vector<unsigned char>& bytes, TextureInfo& layout, std::string& problem)
{
    if (!ilLoadL(type, bytes.data(), static_cast<ILuint>(bytes.size()))) {
        problem = takeErrors();
        if (problem.empty()) {
            problem = "cannot decode the image";
        }
        return false;
    }
    // A successful decode may leave warnings behind; they are not failures.
    takeErrors();
    return DevILImageLayout::makeUploadable(problem) && DevILImageLayout::describe(layout, problem);
}

} // namespace

DevILTextureSourceLoader::DevILTextureSourceLoader() = default;

DevILTextureSourceLoader::~DevILTextureSourceLoader()
{
    shutdown();
}

bool DevILTextureSourceLoader::initialize()
{
    if (!mInitialized) {
        DevILLibrary::acquire();
        mInitialized = true;
    }
    return true;
}

bool DevILTextureSourceLoader::shutdown()
{
    if (mInitialized) {
        DevILLibrary::release();
        mInitialized = false;
    }
    return true;
}

SharedPtr<TextureSource> DevILTextureSourceLoader::load(const NameMapper::ResourceInfo&, const TextureInfo&)
{
    return {};
}

SharedPtr<TextureSource> DevILTextureSourceLoader::convert(const SharedPtr<TextureSource>&, const TextureInfo&, bool)
{
    return {};
}

SharedPtr<TextureSource> DevILTextureSourceLoader::load(const NameMapper::ResourceInfo& info)
{
    std::string problem;
    if (!mInitialized) {
        reportFailure(info, "the image loader is not initialised");
        return {};
    }
    std::vector<unsigned char> bytes;
    if (!readFile(info.fileName, bytes, problem)) {
        reportFailure(info, problem);
        return {};
    }
    const SharedPtr<TextureSource> source = decode(bytes, problem);
    if (source.isNull()) {
        reportFailure(info, problem);
    }
    return source;
}

SharedPtr<TextureSource> DevILTextureSourceLoader::decode(const std::vector<unsigned char>& bytes,
                                                          std::string& problem)
{
    ILenum type = IL_TYPE_UNKNOWN;
    if (!mInitialized) {
        problem = "the image loader is not initialised";
        return {};
    }
    if (bytes.empty() || bytes.size() > MAX_FILE_SIZE) {
        problem = bytes.empty() ? "empty file" : "file too large";
        return {};
    }
    if (!checkFile(bytes, type, problem)) {
        return {};
    }

    // Errors left over from earlier calls are not this file's.
    takeErrors();
    ILuint image = 0;
    ilGenImages(1, &image);
    if (image == 0) {
        problem = takeErrors();
        problem = problem.empty() ? "cannot create an image" : problem;
        return {};
    }
    ilBindImage(image);
    TextureInfo layout;
    if (!decodeBound(type, bytes, layout, problem)) {
        ilDeleteImages(1, &image);
        takeErrors();
        return {};
    }
    return SharedPtr<TextureSource>(new DevILTextureData(image, layout, ilGetData()));
}

} // namespace Velta

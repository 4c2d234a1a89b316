#include "app/Screenshot.h"

#include "core/LogManager.h"
#include "core/VeltaCore.h"
#include "render/RenderWindow.h"

#include <GL/gl.h>
#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>
#include <utility>

namespace Ripplejet {

namespace {

/// More shots than this in one second means something else fills the names.
constexpr int MAX_SHOTS_PER_SECOND = 10000;

void logLine(const std::string& message, bool failed)
{
    const auto logger = Velta::VeltaCore::getSingleton().getLogManager().getLogger("screenshot");
    if (failed) {
        logger->error(message);
    } else {
        logger->info(message);
    }
}

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string fileName(std::time_t when, int counter)
{
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof(stamp), "%Y-%m-%d-%H%M%S", &local);
    return std::string("ripplejet-") + stamp + "-" + std::to_string(counter) + ".png";
}

/// libpng reports errors through a long jump; the message is kept for the log.
void pngError(png_structp png, png_const_charp message)
{
    *static_cast<std::string*>(png_get_error_ptr(png)) = message;
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

/// Writes 8-bit RGB rows (top to bottom) as a PNG; false with `error` set.
bool encodePng(std::FILE* file, int width, int height, const std::vector<std::uint8_t>& rgb, std::string& error)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, pngError, pngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        error = "out of memory";
        return false;
    }
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        rows[static_cast<std::size_t>(y)] =
            const_cast<png_bytep>(rgb.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 3);
    }
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

Screenshot::Screenshot(std::string directory) : mDirectory(std::move(directory)) {}

std::string Screenshot::defaultDirectory()
{
    std::string base = environment("XDG_DATA_HOME");
    if (base.empty()) {
        const std::string home = environment("HOME");
        base = (home.empty() ? std::string(".") : home) + "/.local/share";
    }
    return base + "/ripplejet/screenshots";
}

void Screenshot::takeOfNextFrame(Velta::RenderWindow& window) const
{
    const int width = window.getWidth();
    const int height = window.getHeight();
    window.runBeforeNextShow([directory = mDirectory, width, height] { Screenshot(directory).save(width, height); });
}

std::string Screenshot::save(int width, int height) const
{
    std::string error;
    const std::string path = write(width, height, readDrawnFrame(width, height), std::time(nullptr), error);
    if (path.empty()) {
        logLine("Cannot save a screenshot in " + mDirectory + ": " + error, true);
    } else {
        logLine("Screenshot saved to " + path, false);
    }
    return path;
}

std::vector<std::uint8_t> Screenshot::readDrawnFrame(int width, int height)
{
    if (width <= 0 || height <= 0) {
        return {};
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    std::vector<std::uint8_t> bottomUp(rowBytes * static_cast<std::size_t>(height));
    // The renderer's own reads, if any, find the state as they left it.
    GLboolean doubleBuffered = GL_FALSE;
    GLint packAlignment = 4;
    GLint readBuffer = GL_BACK;
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    // Rows of an odd width are not a multiple of 4 bytes: read them unpadded.
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(doubleBuffered ? GL_BACK : GL_FRONT);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    glReadBuffer(static_cast<GLenum>(readBuffer));
    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
    // OpenGL counts rows from the bottom, pictures from the top.
    std::vector<std::uint8_t> topDown(bottomUp.size());
    for (int y = 0; y < height; ++y) {
        std::memcpy(topDown.data() + static_cast<std::size_t>(y) * rowBytes,
                    bottomUp.data() + static_cast<std::size_t>(height - 1 - y) * rowBytes, rowBytes);
    }
    return topDown;
}

std::string Screenshot::write(int width, int height, const std::vector<std::uint8_t>& rgb, std::time_t when,
                              std::string& error) const
{
    if (width <= 0 || height <= 0 || rgb.size() != static_cast<std::size_t>(width) * height * 3) {
        error = "no frame to save";
        return "";
    }
    std::string path;
    const int fd = createFile(when, path, error);
    if (fd < 0) {
        return "";
    }
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        error = std::strerror(errno);
        close(fd);
        std::remove(path.c_str());
        return "";
    }
    const bool encoded = encodePng(file, width, height, rgb, error);
    const bool closed = std::fclose(file) == 0;
    if (!encoded || !closed) {
        if (encoded) {
            error = std::strerror(errno);
        }
        std::remove(path.c_str());
        return "";
    }
    return path;
}

int Screenshot::createFile(std::time_t when, std::string& path, std::string& error) const
{
    std::error_code made;
    std::filesystem::create_directories(mDirectory, made);
    if (made) {
        error = made.message();
        return -1;
    }
    for (int counter = 1; counter <= MAX_SHOTS_PER_SECOND; ++counter) {
        path = mDirectory + "/" + fileName(when, counter);
        // O_EXCL: a name taken by an earlier shot (or another game) is skipped.
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            return fd;
        }
        if (errno != EEXIST) {
            error = std::strerror(errno);
            return -1;
        }
    }
    error = "every name for this second is taken";
    return -1;
}

} // namespace Ripplejet

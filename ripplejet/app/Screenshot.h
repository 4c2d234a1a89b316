#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace Velta {
class RenderWindow;
} // namespace Velta

namespace Ripplejet {

/// Saves the game's frames as PNG pictures on request (F12).
///
/// The window manager owns one and asks for a shot when the key is pressed;
/// the picture is read when that frame has been drawn and before it is
/// shown, so it is a whole frame, and nothing about the shot is in it.
/// Pictures go to `<directory>/ripplejet-YYYY-MM-DD-HHMMSS-N.png`, N counting
/// from 1 within the second, and an existing file is never overwritten.
/// Each shot writes one line on the "screenshot" logger: the path, or why
/// it could not be saved.
class Screenshot {
public:
    /// Pictures go to `directory`, made (with its parents) when missing.
    explicit Screenshot(std::string directory = defaultDirectory());

    /// $XDG_DATA_HOME/ripplejet/screenshots, or ~/.local/share/… when
    /// XDG_DATA_HOME is unset or empty; relative to the working directory
    /// when HOME is unset too.
    static std::string defaultDirectory();

    /// Saves the window's next frame, between drawing and showing it (see
    /// save()). The shot keeps its own copy of the directory, so it may be
    /// taken after this object has gone.
    void takeOfNextFrame(Velta::RenderWindow& window) const;

    /// Saves the `width` × `height` frame just drawn in the current OpenGL
    /// context (the back buffer, or the only one of a single-buffered
    /// window). The path written, or empty when it failed.
    std::string save(int width, int height) const;

    /// Writes `rgb` (rows top to bottom, 3 bytes a pixel, no padding) as a
    /// new picture named after `when`. The path, or empty with `error` set.
    std::string write(int width, int height, const std::vector<std::uint8_t>& rgb, std::time_t when,
                      std::string& error) const;

    /// Reads the frame being drawn as top-to-bottom RGB rows.
    static std::vector<std::uint8_t> readDrawnFrame(int width, int height);

    const std::string& getDirectory() const { return mDirectory; }

private:
    /// Creates a file that did not exist, named after `when`; its path and
    /// open descriptor, or −1 with `error` set.
    int createFile(std::time_t when, std::string& path, std::string& error) const;

    std::string mDirectory;
};

} // namespace Ripplejet

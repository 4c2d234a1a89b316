#pragma once

#include <gtest/gtest.h>

#include <string>
#include <sys/types.h>

namespace VeltaTest {

/// An X display for the tests that need one (SDL video, windows, the game).
///
/// Uses the display named in DISPLAY when that accepts connections.
/// Otherwise starts a private Xvfb on a display number it picks itself,
/// points DISPLAY at it, and stops it when the test program ends (or dies).
/// Either way SDL is pointed at X (SDL_VIDEODRIVER=x11 unless already set).
/// One per test program, started on first use.
class VirtualDisplay {
public:
    /// The program's display, started on the first call.
    static VirtualDisplay& get();

    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool isAvailable() const { return mProblem.empty(); }

    /// Why no display could be had; empty when one is available.
    const std::string& getProblem() const { return mProblem; }

    /// The display name, such as ":1"; empty when none is available.
    const std::string& getName() const { return mName; }

    /// Whether this program started the server.
    bool isPrivate() const { return mServer > 0; }

private:
    VirtualDisplay();
    void startServer();
    std::string awaitDisplayNumber(int readEnd);

    pid_t mServer = -1;
    std::string mName;
    std::string mProblem;
};

} // namespace VeltaTest

/// Skips the current test, giving the reason, when no display can be had.
/// Use at the start of a test body or of SetUp().
#define VELTA_REQUIRE_DISPLAY()                                                                 \
    do {                                                                                        \
        if (!::VeltaTest::VirtualDisplay::get().isAvailable()) {                                \
            GTEST_SKIP() << "no display: " << ::VeltaTest::VirtualDisplay::get().getProblem(); \
        }                                                                                       \
    } while (false)

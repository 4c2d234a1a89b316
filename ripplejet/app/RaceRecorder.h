#pragma once

#include <cstdio>
#include <string>

namespace Velta {
class InputEvent;
} // namespace Velta

namespace Ripplejet {

/// Writes a race as it is played: every frame's timestamp and every input
/// event the level is handed in it, one line each, flushed at the end of
/// each frame so that a game that stops unexpectedly keeps what it played.
///
/// The file, text for easy inspection:
///
///     ripplejet-race 1
///     start 1765150000001      the time the first race was made at (ms)
///     f 1765150000123          a frame begins at that timestamp (ms)
///     k 0 38 119 0             a key: pressed (0) or released, code, symbol, modifiers
///     m 0.5 0.25               the pointer's unbounded position
///     b 0 1                    a button: pressed (0) or released, number
///     n                        a new race starts after this frame
///     end 9876 won 166064      frames, how the race ended, race time (ms)
///
/// The end line is written by finish(); a file without it was not finished.
class RaceRecorder {
public:
    static constexpr const char* MAGIC = "ripplejet-race";
    static constexpr int VERSION = 1;

    RaceRecorder() = default;
    ~RaceRecorder();
    RaceRecorder(const RaceRecorder&) = delete;
    RaceRecorder& operator=(const RaceRecorder&) = delete;

    /// Creates the file and writes its header; false, with the reason in
    /// getError(), when it cannot be written.
    bool open(const std::string& path);
    bool isOpen() const { return mFile != nullptr; }
    const std::string& getError() const { return mError; }

    /// The time the race is made and started at, before its first frame.
    void recordStart(long long timestamp);
    void beginFrame(long long timestamp);
    /// Key, pointer and button events; other kinds are not the level's.
    void recordEvent(const Velta::InputEvent& event);
    void recordNewRace();
    /// Flushes what the frame wrote.
    void endFrame();

    /// Writes the end line and closes the file. `result` is "won", "lost"
    /// or "unfinished".
    void finish(const std::string& result, long long raceTime);

    /// One event as its line (without the newline); empty for kinds that
    /// are not recorded. Parsed back by RaceReplay.
    static bool formatEvent(const Velta::InputEvent& event, char* line, std::size_t size);

private:
    std::FILE* mFile = nullptr;
    std::string mError;
    long long mFrames = 0;
};

} // namespace Ripplejet

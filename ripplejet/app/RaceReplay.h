#pragma once

#include "input/InputEvent.h"

#include <string>
#include <vector>

namespace Velta {
class InputProcessor;
} // namespace Velta

namespace Ripplejet {

/// A race written by RaceRecorder, read whole before the first frame and
/// played back frame by frame: each frame's timestamp, and the events the
/// level was handed in it, in their order.
class RaceReplay {
public:
    /// Reads and checks the whole file; false, with one line in getError(),
    /// when it is missing, of another kind or version, damaged or cut short
    /// (no end line, or fewer frames than the end line counts).
    bool load(const std::string& path);
    const std::string& getError() const { return mError; }

    /// The time the recorded race was made at.
    long long getStartTime() const { return mStartTime; }
    std::size_t getFrameCount() const { return mFrames.size(); }
    long long getFrameTime(std::size_t frame) const { return mFrames[frame].time; }
    /// Hands the frame's events to `level`, in the order recorded.
    void deliverEvents(std::size_t frame, Velta::InputProcessor& level);
    /// Whether a new race was started after the frame.
    bool startsNewRace(std::size_t frame) const { return mFrames[frame].newRace; }

    /// How the recorded race ended: "won", "lost" or "unfinished", and its
    /// race time (ms).
    const std::string& getResult() const { return mResult; }
    long long getRaceTime() const { return mRaceTime; }

private:
    struct Frame {
        long long time;
        std::size_t firstEvent;
        std::size_t eventCount;
        bool newRace;
    };
    bool fail(const std::string& path, int line, const std::string& problem);
    bool parseLine(const std::string& line);

    std::vector<Frame> mFrames;
    std::vector<Velta::InputEvent> mEvents;
    std::string mResult;
    long long mRaceTime = 0;
    long long mStartTime = 0;
    long long mEndFrames = -1;
    std::string mError;
};

} // namespace Ripplejet

#include "app/RaceReplay.h"

#include "app/RaceRecorder.h"
#include "input/ButtonEventInfo.h"
#include "input/InputProcessor.h"
#include "input/KeyEventInfo.h"

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

namespace Ripplejet {

namespace {

/// Reads exactly the fields of `text` into `values`, nothing left over.
template <typename... T>
bool readFields(const std::string& text, T&... values)
{
    std::istringstream in(text);
    ((in >> values), ...);
    if (in.fail()) {
        return false;
    }
    in >> std::ws;
    return in.eof();
}

bool isFinite(float value)
{
    return std::isfinite(value);
}

} // namespace

bool RaceReplay::fail(const std::string& path, int line, const std::string& problem)
{
    mError = "cannot replay \"" + path + "\"" + (line > 0 ? " (line " + std::to_string(line) + ")" : "") + ": " +
             problem;
    mFrames.clear();
    mEvents.clear();
    return false;
}

bool RaceReplay::load(const std::string& path)
{
    mFrames.clear();
    mEvents.clear();
    mEndFrames = -1;
    std::ifstream file(path);
    if (!file) {
        return fail(path, 0, "the file cannot be read");
    }
    std::string line;
    std::string magic;
    int version = 0;
    if (!std::getline(file, line) || !readFields(line, magic, version) || magic != RaceRecorder::MAGIC) {
        return fail(path, 1, "this is not a recorded race");
    }
    if (version != RaceRecorder::VERSION) {
        return fail(path, 1,
                    "the race was recorded in version " + std::to_string(version) + "; this game replays version " +
                        std::to_string(RaceRecorder::VERSION));
    }
    std::string start;
    if (!std::getline(file, line) || !readFields(line, start, mStartTime) || start != "start") {
        return fail(path, 2, "the start line is missing or damaged");
    }
    int number = 2;
    while (std::getline(file, line)) {
        ++number;
        if (mEndFrames >= 0) {
            return fail(path, number, "there is more after the end line");
        }
        if (!parseLine(line)) {
            return fail(path, number, "the line is damaged");
        }
    }
    if (mEndFrames < 0) {
        return fail(path, 0, "the recording has no end (cut short, or the game stopped while recording)");
    }
    if (mEndFrames != static_cast<long long>(mFrames.size())) {
        return fail(path, 0,
                    "the end line counts " + std::to_string(mEndFrames) + " frames, the file holds " +
                        std::to_string(mFrames.size()));
    }
    return true;
}

bool RaceReplay::parseLine(const std::string& line)
{
    if (line.size() < 1) {
        return false;
    }
    const std::string rest = line.size() > 1 ? line.substr(1) : "";
    const bool inFrame = !mFrames.empty();
    Velta::InputEvent event(inFrame ? mFrames.back().time : 0);
    switch (line[0]) {
    case 'f': {
        long long time = 0;
        if (!readFields(rest, time) || time < (inFrame ? mFrames.back().time : mStartTime)) {
            return false;
        }
        mFrames.push_back(Frame{time, mEvents.size(), 0, false});
        return true;
    }
    case 'k': {
        int type = 0;
        unsigned code = 0, symbol = 0, modifiers = 0;
        if (!inFrame || !readFields(rest, type, code, symbol, modifiers) || (type != 0 && type != 1) ||
            code > 255 || symbol > std::numeric_limits<unsigned short>::max() ||
            modifiers > std::numeric_limits<unsigned short>::max()) {
            return false;
        }
        event.setKey(static_cast<Velta::KeyEventInfo::EventType>(type), static_cast<unsigned char>(code),
                     static_cast<unsigned short>(symbol), static_cast<unsigned short>(modifiers));
        break;
    }
    case 'm': {
        float x = 0.0f, y = 0.0f;
        if (!inFrame || !readFields(rest, x, y) || !isFinite(x) || !isFinite(y)) {
            return false;
        }
        event.setMove(x, y);
        break;
    }
    case 'b': {
        int type = 0, button = 0;
        if (!inFrame || !readFields(rest, type, button) || (type != 0 && type != 1) || button < 0 || button > 255) {
            return false;
        }
        event.setButton(static_cast<Velta::ButtonEventInfo::EventType>(type), button);
        break;
    }
    case 'n':
        if (!inFrame || !rest.empty()) {
            return false;
        }
        mFrames.back().newRace = true;
        return true;
    case 'e': {
        std::string end, result;
        long long frames = 0, raceTime = 0;
        if (!readFields(line, end, frames, result, raceTime) || end != "end" || frames < 0 || raceTime < 0 ||
            (result != "won" && result != "lost" && result != "unfinished")) {
            return false;
        }
        mEndFrames = frames;
        mResult = result;
        mRaceTime = raceTime;
        return true;
    }
    default:
        return false;
    }
    mEvents.push_back(event);
    ++mFrames.back().eventCount;
    return true;
}

void RaceReplay::deliverEvents(std::size_t frame, Velta::InputProcessor& level)
{
    const Frame& f = mFrames[frame];
    for (std::size_t i = f.firstEvent; i < f.firstEvent + f.eventCount; ++i) {
        // A copy: the level may rewrite the event it is handed.
        Velta::InputEvent event = mEvents[i];
        level.processInputEvent(event);
    }
}

} // namespace Ripplejet

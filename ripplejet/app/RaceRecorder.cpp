#include "app/RaceRecorder.h"

#include "input/ButtonEventInfo.h"
#include "input/InputEvent.h"
#include "input/KeyEventInfo.h"
#include "input/MoveEventInfo.h"

#include <cerrno>
#include <cstring>

namespace Ripplejet {

RaceRecorder::~RaceRecorder()
{
    if (mFile) {
        std::fclose(mFile);
    }
}

bool RaceRecorder::open(const std::string& path)
{
    mFile = std::fopen(path.c_str(), "w");
    if (!mFile) {
        mError = "cannot write the race to \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    std::fprintf(mFile, "%s %d\n", MAGIC, VERSION);
    std::fflush(mFile);
    return true;
}

void RaceRecorder::recordStart(long long timestamp)
{
    if (mFile) {
        std::fprintf(mFile, "start %lld\n", timestamp);
        std::fflush(mFile);
    }
}

void RaceRecorder::beginFrame(long long timestamp)
{
    if (mFile) {
        std::fprintf(mFile, "f %lld\n", timestamp);
        ++mFrames;
    }
}

bool RaceRecorder::formatEvent(const Velta::InputEvent& event, char* line, std::size_t size)
{
    int written = -1;
    if (const Velta::KeyEventInfo* key = event.getKeyEventInfo()) {
        written = std::snprintf(line, size, "k %d %u %u %u", static_cast<int>(key->getEventType()),
                                static_cast<unsigned>(key->getKeycode()), static_cast<unsigned>(key->getKeySymbol()),
                                static_cast<unsigned>(key->getModifierMask()));
    } else if (const Velta::MoveEventInfo* move = event.getMoveEventInfo()) {
        // Nine significant digits bring every float back exactly.
        written = std::snprintf(line, size, "m %.9g %.9g", static_cast<double>(move->getX()),
                                static_cast<double>(move->getY()));
    } else if (const Velta::ButtonEventInfo* button = event.getButtonEventInfo()) {
        written = std::snprintf(line, size, "b %d %d", static_cast<int>(button->getEventType()), button->getButtonNr());
    }
    return written > 0 && static_cast<std::size_t>(written) < size;
}

void RaceRecorder::recordEvent(const Velta::InputEvent& event)
{
    char line[96];
    if (mFile && formatEvent(event, line, sizeof line)) {
        std::fprintf(mFile, "%s\n", line);
    }
}

void RaceRecorder::recordNewRace()
{
    if (mFile) {
        std::fputs("n\n", mFile);
    }
}

void RaceRecorder::endFrame()
{
    if (mFile) {
        std::fflush(mFile);
    }
}

void RaceRecorder::finish(const std::string& result, long long raceTime)
{
    if (!mFile) {
        return;
    }
    std::fprintf(mFile, "end %lld %s %lld\n", mFrames, result.c_str(), raceTime);
    std::fclose(mFile);
    mFile = nullptr;
}

} // namespace Ripplejet

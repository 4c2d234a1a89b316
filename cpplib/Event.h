#pragma once

namespace CppLib {

/// Base of time-stamped events; the timestamp is in the timer manager's
/// milliseconds.
class Event {
public:
    explicit Event(long long timestamp) : mTimestamp(timestamp) {}
    virtual ~Event() = default;

    Event(const Event&) = default;
    Event& operator=(const Event&) = default;

    long long getTimestamp() const { return mTimestamp; }

private:
    long long mTimestamp;
};

} // namespace CppLib

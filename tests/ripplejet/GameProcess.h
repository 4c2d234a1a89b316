#pragma once

#include <functional>
#include <string>
#include <sys/types.h>

namespace RipplejetTest {

/// The real game program, run as a child process for end-to-end tests: in
/// a given working directory, on a given display (none: DISPLAY unset),
/// with its standard output and error kept in files. A game still running
/// when the object goes is killed.
class GameProcess {
public:
    GameProcess();
    ~GameProcess();

    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    /// Starts `program` in `directory`; false when it could not be started.
    bool start(const std::string& program, const std::string& directory, const std::string& display);

    /// Waits up to `seconds` for the program to end; true when it has.
    bool waitForExit(double seconds);

    /// The exit status once ended normally; −1 while running or when it was
    /// ended by a signal (see getTermSignal()).
    int getExitStatus() const { return mExitStatus; }
    int getTermSignal() const { return mTermSignal; }

    /// Everything written on standard error so far.
    std::string readStandardError() const;

private:
    pid_t mPid = -1;
    int mExitStatus = -1;
    int mTermSignal = 0;
    std::string mErrorFile;
    std::string mOutputFile;
};

/// Asks `condition` every 100 ms until it holds or `seconds` have passed;
/// answers whether it held.
bool waitUntil(const std::function<bool()>& condition, double seconds);

/// Runs a shell command and answers what it wrote on standard output.
std::string runCommand(const std::string& command);

} // namespace RipplejetTest

#pragma once

#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace RipplejetTest {

/// The real game program as a child process, for end-to-end tests: run in a
/// given working directory on a given display (empty: DISPLAY unset), its
/// standard error kept in a file. A game still running when the object goes
/// is killed.
class GameProcess {
public:
    GameProcess();
    ~GameProcess();

    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    /// False when the program could not be started.
    bool start(const std::string& program, const std::string& directory, const std::string& display,
               const std::vector<std::string>& arguments = {});

    /// Waits up to `seconds` for the program to end; true when it has.
    bool waitForExit(double seconds);

    /// The exit status once ended normally; −1 while running or when a
    /// signal ended it.
    int getExitStatus() const { return mExitStatus; }
    int getTermSignal() const { return mTermSignal; }

    std::string readStandardError() const;
    std::string readStandardOutput() const;

private:
    pid_t mPid = -1;
    int mExitStatus = -1;
    int mTermSignal = 0;
    std::string mErrorFile;
    std::string mOutputFile;
};

/// Asks `condition` every 100 ms until it holds or `seconds` have passed.
bool waitUntil(const std::function<bool()>& condition, double seconds);

/// Runs a shell command; answers its standard output.
std::string runCommand(const std::string& command);

} // namespace RipplejetTest

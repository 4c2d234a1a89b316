#include "GameProcess.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace RipplejetTest {

GameProcess::GameProcess() : mErrorFile("/tmp/ripplejet-stderr-XXXXXX")
{
    const int fd = mkstemp(mErrorFile.data());
    if (fd >= 0) {
        close(fd);
    } else {
        mErrorFile.clear();
    }
}

GameProcess::~GameProcess()
{
    if (mPid > 0 && mExitStatus < 0 && mTermSignal == 0) {
        kill(mPid, SIGKILL);
        waitpid(mPid, nullptr, 0);
    }
    if (!mErrorFile.empty()) {
        std::remove(mErrorFile.c_str());
    }
}

bool GameProcess::start(const std::string& program, const std::string& directory, const std::string& display)
{
    if (mErrorFile.empty() || (mPid = fork()) < 0) {
        return false;
    }
    if (mPid == 0) {
        const int error = open(mErrorFile.c_str(), O_WRONLY | O_TRUNC);
        const int nothing = open("/dev/null", O_RDWR);
        if (error < 0 || nothing < 0 || chdir(directory.c_str()) != 0) {
            _exit(126);
        }
        dup2(nothing, STDIN_FILENO);
        dup2(nothing, STDOUT_FILENO);
        dup2(error, STDERR_FILENO);
        if (display.empty()) {
            unsetenv("DISPLAY");
        } else {
            setenv("DISPLAY", display.c_str(), 1);
        }
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return true;
}

bool GameProcess::waitForExit(double seconds)
{
    return mPid > 0 && waitUntil(
                           [this] {
                               int status = 0;
                               if (mExitStatus >= 0 || mTermSignal != 0) {
                                   return true;
                               }
                               if (waitpid(mPid, &status, WNOHANG) != mPid) {
                                   return false;
                               }
                               mExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
                               mTermSignal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
                               return true;
                           },
                           seconds);
}

std::string GameProcess::readStandardError() const
{
    std::ifstream file(mErrorFile);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool waitUntil(const std::function<bool()>& condition, double seconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

std::string runCommand(const std::string& command)
{
    std::string result;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        for (size_t got; (got = fread(buffer, 1, sizeof(buffer), pipe)) > 0;) {
            result.append(buffer, got);
        }
        pclose(pipe);
    }
    return result;
}

} // namespace RipplejetTest

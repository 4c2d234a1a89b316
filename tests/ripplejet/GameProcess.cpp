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

namespace {

std::string makeTempFile(const char* kind)
{
    std::string name = std::string("/tmp/ripplejet-") + kind + "-XXXXXX";
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        return "";
    }
    close(fd);
    return name;
}

} // namespace

GameProcess::GameProcess() : mErrorFile(makeTempFile("stderr")), mOutputFile(makeTempFile("stdout")) {}

GameProcess::~GameProcess()
{
    if (mPid > 0 && mExitStatus < 0 && mTermSignal == 0) {
        kill(mPid, SIGKILL);
        waitpid(mPid, nullptr, 0);
    }
    std::remove(mErrorFile.c_str());
    std::remove(mOutputFile.c_str());
}

bool GameProcess::start(const std::string& program, const std::string& directory, const std::string& display)
{
    if (mErrorFile.empty() || mOutputFile.empty()) {
        return false;
    }
    const pid_t child = fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        const int error = open(mErrorFile.c_str(), O_WRONLY | O_TRUNC);
        const int output = open(mOutputFile.c_str(), O_WRONLY | O_TRUNC);
        const int input = open("/dev/null", O_RDONLY);
        if (error < 0 || output < 0 || input < 0 || chdir(directory.c_str()) != 0) {
            _exit(126);
        }
        dup2(input, STDIN_FILENO);
        dup2(output, STDOUT_FILENO);
        dup2(error, STDERR_FILENO);
        if (display.empty()) {
            unsetenv("DISPLAY");
        } else {
            setenv("DISPLAY", display.c_str(), 1);
        }
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    mPid = child;
    return true;
}

bool GameProcess::waitForExit(double seconds)
{
    if (mPid <= 0) {
        return false;
    }
    if (mExitStatus >= 0 || mTermSignal != 0) {
        return true;
    }
    return waitUntil(
        [this] {
            int status = 0;
            if (waitpid(mPid, &status, WNOHANG) != mPid) {
                return false;
            }
            if (WIFEXITED(status)) {
                mExitStatus = WEXITSTATUS(status);
            } else if (WIFSIGNALED(status)) {
                mTermSignal = WTERMSIG(status);
            }
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
    while (true) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

std::string runCommand(const std::string& command)
{
    std::string result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return result;
    }
    char buffer[256];
    size_t got = 0;
    while ((got = fread(buffer, 1, sizeof(buffer), pipe)) > 0) {
        result.append(buffer, got);
    }
    pclose(pipe);
    return result;
}

} // namespace RipplejetTest

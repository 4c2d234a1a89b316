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
#include <vector>

namespace RipplejetTest {

namespace {

/// A new empty temporary file's name; empty when none could be made.
std::string makeTemporaryFile(const char* pattern)
{
    std::string name = pattern;
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        return "";
    }
    close(fd);
    return name;
}

std::string readFile(const std::string& name)
{
    std::ifstream file(name);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

GameProcess::GameProcess()
    : mErrorFile(makeTemporaryFile("/tmp/ripplejet-stderr-XXXXXX")),
      mOutputFile(makeTemporaryFile("/tmp/ripplejet-stdout-XXXXXX"))
{
}

GameProcess::~GameProcess()
{
    if (mPid > 0 && mExitStatus < 0 && mTermSignal == 0) {
        kill(mPid, SIGKILL);
        waitpid(mPid, nullptr, 0);
    }
    for (const std::string& file : {mErrorFile, mOutputFile}) {
        if (!file.empty()) {
            std::remove(file.c_str());
        }
    }
}

bool GameProcess::start(const std::string& program, const std::string& directory, const std::string& display,
                        const std::vector<std::string>& arguments)
{
    if (mErrorFile.empty() || mOutputFile.empty()) {
        return false;
    }
    // Made before the fork: the child only calls what is safe there.
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    if ((mPid = fork()) < 0) {
        return false;
    }
    if (mPid == 0) {
        const int error = open(mErrorFile.c_str(), O_WRONLY | O_TRUNC);
        const int output = open(mOutputFile.c_str(), O_WRONLY | O_TRUNC);
        const int nothing = open("/dev/null", O_RDWR);
        if (error < 0 || output < 0 || nothing < 0 || chdir(directory.c_str()) != 0) {
            _exit(126);
        }
        dup2(nothing, STDIN_FILENO);
        dup2(output, STDOUT_FILENO);
        dup2(error, STDERR_FILENO);
        if (display.empty()) {
            unsetenv("DISPLAY");
        } else {
            setenv("DISPLAY", display.c_str(), 1);
        }
        execv(program.c_str(), argv.data());
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
    return readFile(mErrorFile);
}

std::string GameProcess::readStandardOutput() const
{
    return readFile(mOutputFile);
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

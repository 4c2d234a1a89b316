#include "testkit/VirtualDisplay.h"

#include <X11/Xlib.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace VeltaTest {

namespace {

/// How long the server may take to accept connections.
constexpr int kStartTimeoutMs = 15000;

bool acceptsConnections(const std::string& name)
{
    Display* display = XOpenDisplay(name.c_str());
    if (!display) {
        return false;
    }
    XCloseDisplay(display);
    return true;
}

} // namespace

VirtualDisplay& VirtualDisplay::get()
{
    static VirtualDisplay display;
    return display;
}

VirtualDisplay::VirtualDisplay()
{
    // Without a display SDL would fall back to drawing on the terminal and
    // the tests would pass without one; pin it to X unless told otherwise.
    setenv("SDL_VIDEODRIVER", "x11", 0);

    const char* display = std::getenv("DISPLAY");
    std::string given = display ? display : "";
    if (!given.empty() && acceptsConnections(given)) {
        mName = given;
        return;
    }
    startServer();
    if (!mProblem.empty()) {
        mProblem = (given.empty() ? "DISPLAY is not set and " : "DISPLAY " + given + " refuses connections and ") +
                   mProblem;
    }
}

VirtualDisplay::~VirtualDisplay()
{
    if (mServer > 0) {
        kill(mServer, SIGTERM);
        waitpid(mServer, nullptr, 0);
    }
}

void VirtualDisplay::startServer()
{
    int fds[2];
    if (pipe(fds) != 0) {
        mProblem = std::string("pipe failed: ") + std::strerror(errno);
        return;
    }
    // The server writes its display number to the pipe once it accepts
    // connections (-displayfd), so it picks a free number itself and there is
    // nothing to poll for.
    const std::string fd = std::to_string(fds[1]);
    const char* argv[] = {"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
                          "-nolisten", "tcp", "-noreset", nullptr};
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child < 0) {
        mProblem = std::string("fork failed: ") + std::strerror(errno);
        close(fds[0]);
        close(fds[1]);
        return;
    }
    if (child == 0) {
        // Goes down with the test program, however that ends.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) {
            _exit(1);
        }
        close(fds[0]);
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) {
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
        }
        execvp(argv[0], const_cast<char* const*>(argv));
        _exit(127);
    }
    close(fds[1]);
    mServer = child;
    const std::string number = awaitDisplayNumber(fds[0]);
    close(fds[0]);
    if (number.empty()) {
        int status = 0;
        if (waitpid(mServer, &status, WNOHANG) == 0) {
            kill(mServer, SIGTERM);
            waitpid(mServer, &status, 0);
            mProblem = "Xvfb did not accept connections within " + std::to_string(kStartTimeoutMs / 1000) + " s";
        } else if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
            mProblem = "Xvfb could not be run (not installed?)";
        } else {
            mProblem = "Xvfb failed to start";
        }
        mServer = -1;
        return;
    }
    mName = ":" + number;
    setenv("DISPLAY", mName.c_str(), 1);
    if (!acceptsConnections(mName)) {
        mProblem = "Xvfb on " + mName + " refuses connections";
        mName.clear();
    }
}

std::string VirtualDisplay::awaitDisplayNumber(int readEnd)
{
    std::string number;
    pollfd wait = {readEnd, POLLIN, 0};
    while (poll(&wait, 1, kStartTimeoutMs) > 0) {
        char c = 0;
        const ssize_t got = read(readEnd, &c, 1);
        if (got <= 0 || c == '\n') {
            break;
        }
        number += c;
    }
    return number;
}

} // namespace VeltaTest

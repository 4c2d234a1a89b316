#include "app/DataLocator.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <unistd.h>
#include <utility>

#ifndef RIPPLEJET_INSTALLED_DATA_DIR
#define RIPPLEJET_INSTALLED_DATA_DIR "/usr/local/share/ripplejet"
#endif

namespace Ripplejet {

namespace {

namespace fs = std::filesystem;

bool holdsData(const std::string& directory)
{
    std::error_code error;
    return fs::is_directory(fs::path(directory) / "models", error);
}

/// The running program's directory; empty when /proc cannot tell.
std::string programDirectory()
{
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : program.parent_path().string();
}

/// The working directory for the message, "." when it cannot be named.
std::string workingDirectory()
{
    std::error_code error;
    const fs::path current = fs::current_path(error);
    return error ? std::string(".") : current.string();
}

} // namespace

DataLocator::DataLocator(std::string dataOption, std::string programDirectory, std::string installedDirectory)
    : mDataOption(std::move(dataOption)), mProgramDirectory(std::move(programDirectory)),
      mInstalledDirectory(std::move(installedDirectory))
{
}

DataLocator DataLocator::forThisProgram(const std::string& dataOption)
{
    return DataLocator(dataOption, programDirectory(), RIPPLEJET_INSTALLED_DATA_DIR);
}

std::vector<std::string> DataLocator::getCandidates() const
{
    std::vector<std::string> places{"."};
    const auto add = [&places](const std::string& place) {
        if (!place.empty() && std::find(places.begin(), places.end(), place) == places.end()) {
            places.push_back(place);
        }
    };
    add(mDataOption);
    if (!mProgramDirectory.empty()) {
        add(mProgramDirectory);
        add((fs::path(mProgramDirectory) / "../share/ripplejet").lexically_normal().string());
    }
    add(mInstalledDirectory);
    return places;
}

bool DataLocator::enter()
{
    const std::vector<std::string> places = getCandidates();
    for (const std::string& place : places) {
        if (holdsData(place) && chdir(place.c_str()) == 0) {
            mDirectory = place;
            mProblem.clear();
            return true;
        }
    }
    mProblem = describeMissingData(places);
    return false;
}

std::string DataLocator::describeMissingData(const std::vector<std::string>& places) const
{
    std::string line = "no game data (a models/ directory) in ";
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (i > 0) {
            line += i + 1 == places.size() ? " or " : ", ";
        }
        line += places[i] == "." ? "the working directory " + workingDirectory() : places[i];
    }
    return line + (mDataOption.empty() ? "; name the data directory with --data DIR" : "");
}

} // namespace Ripplejet

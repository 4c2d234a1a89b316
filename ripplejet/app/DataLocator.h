#pragma once

#include <string>
#include <vector>

namespace Ripplejet {

/// Finds the game's data and makes its directory the working directory,
/// since the game reads every file relative to it (models/, textures/,
/// sound/).
///
/// The places, in order: the working directory, the directory given with
/// --data, the program's own directory, `../share/ripplejet` beside it (an
/// installed tree) and the data directory the build was configured to
/// install to. The first that holds `models/` is taken. Used once, in main,
/// before the engine starts.
class DataLocator {
public:
    /// `dataOption`: the --data directory, empty when not given.
    /// `programDirectory`: where the running program lies, empty when unknown.
    /// `installedDirectory`: the configured install location of the data.
    DataLocator(std::string dataOption, std::string programDirectory, std::string installedDirectory);

    /// For the running program: its directory from /proc/self/exe and the
    /// install location compiled in.
    static DataLocator forThisProgram(const std::string& dataOption);

    /// Every place looked at, in order, without repeats; "." is the working
    /// directory.
    std::vector<std::string> getCandidates() const;

    /// Changes into the first place that holds `models/`. False when none
    /// does; getProblem() then names every place looked at, in one line.
    bool enter();

    const std::string& getProblem() const { return mProblem; }
    /// The directory entered; empty before enter() succeeded.
    const std::string& getDirectory() const { return mDirectory; }

private:
    std::string describeMissingData(const std::vector<std::string>& places) const;

    std::string mDataOption;
    std::string mProgramDirectory;
    std::string mInstalledDirectory;
    std::string mDirectory;
    std::string mProblem;
};

} // namespace Ripplejet

// The race with each data file taken away or cut in half in turn: it loads,
// starts and runs, and says what is wrong in a line or two naming the file.
#include "RaceFixture.h"

#include "duck/Duck.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

using RipplejetTest::RaceFixture;

enum Damage { MISSING, TRUNCATED };

/// Every file in the generated data, as "folder/…/name".
std::vector<std::string> dataFiles()
{
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    for (const char* folder : {"models", "textures", "sound"}) {
        const fs::path root = fs::path(RIPPLEJET_BIN_DIR) / folder;
        std::error_code error;
        for (fs::recursive_directory_iterator entry(root, error), end; !error && entry != end; entry.increment(error)) {
            if (entry->is_regular_file()) {
                files.push_back((fs::path(folder) / fs::relative(entry->path(), root)).generic_string());
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

class DamagedData : public RaceFixture, public testing::WithParamInterface<std::tuple<std::string, Damage>> {
protected:
    std::vector<std::string> missingFiles() const override
    {
        return std::get<1>(GetParam()) == MISSING ? std::vector<std::string>{std::get<0>(GetParam())}
                                                  : std::vector<std::string>{};
    }
    std::vector<std::string> truncatedFiles() const override
    {
        return std::get<1>(GetParam()) == TRUNCATED ? std::vector<std::string>{std::get<0>(GetParam())}
                                                    : std::vector<std::string>{};
    }
};

TEST_P(DamagedData, LeavesTheRaceRunningWithALineOrTwoNamingTheFile)
{
    startRace();
    driveWithAutopilot(16, 2000);
    EXPECT_FALSE(race->isOver());
    // The player's first items: every kind's sounds and images are used.
    const std::string name = std::filesystem::path(std::get<0>(GetParam())).filename().string();
    std::istringstream lines(getLoadLog());
    int count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        EXPECT_NE(line.find(name), std::string::npos) << "a line about something else: " << line;
    }
    // A model's loader and the object manager say one line each; images and
    // sounds one; a sound only used later (an item's) none yet.
    EXPECT_LE(count, 2) << getLoadLog();
}

INSTANTIATE_TEST_SUITE_P(EachFile, DamagedData, testing::Combine(testing::ValuesIn(dataFiles()),
                                                                 testing::Values(MISSING, TRUNCATED)),
                         [](const testing::TestParamInfo<DamagedData::ParamType>& info) {
                             std::string name = std::get<0>(info.param);
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name + (std::get<1>(info.param) == MISSING ? "_missing" : "_truncated");
                         });

} // namespace

// Finding the game's data: each place in turn, from temporary directories,
// and the one line that names them all when none has it.
#include "app/DataLocator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

/// Places laid out under a temporary root: the working directory, a --data
/// directory, a program's bin/ with share/ripplejet beside it and an
/// "installed" directory. The test's working directory comes back at the end.
class DataLocatorTest : public testing::Test {
protected:
    void SetUp() override
    {
        mStart = fs::current_path();
        std::string pattern = (fs::temp_directory_path() / "ripplejet-data-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        mRoot = fs::canonical(pattern).string();
        for (const char* place : {"cwd", "option", "prefix/bin", "prefix/share/ripplejet", "installed"}) {
            fs::create_directories(path(place));
        }
        fs::current_path(path("cwd"));
    }

    void TearDown() override
    {
        fs::current_path(mStart);
        fs::remove_all(mRoot);
    }

    std::string path(const std::string& place) const { return mRoot + "/" + place; }
    void giveData(const std::string& place) const { fs::create_directories(path(place) + "/models"); }

    Ripplejet::DataLocator locator(const std::string& option) const
    {
        return Ripplejet::DataLocator(option, path("prefix/bin"), path("installed"));
    }

    fs::path mStart;
    std::string mRoot;
};

TEST_F(DataLocatorTest, EntersTheFirstPlaceThatHoldsModels)
{
    struct Case {
        const char* holder;
        bool withOption;
        const char* entered;
    };
    const Case cases[] = {
        {"cwd", true, "cwd"},
        {"option", true, "option"},
        {"prefix/bin", true, "prefix/bin"},
        {"prefix/share/ripplejet", false, "prefix/share/ripplejet"},
        {"installed", true, "installed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.holder);
        fs::current_path(path("cwd"));
        giveData(c.holder);
        Ripplejet::DataLocator data = locator(c.withOption ? path("option") : "");
        ASSERT_TRUE(data.enter()) << data.getProblem();
        EXPECT_EQ(fs::current_path(), fs::canonical(path(c.entered)));
        fs::remove_all(path(c.holder) + "/models");
    }
}

TEST_F(DataLocatorTest, PrefersTheWorkingDirectoryThenTheDataOptionOverThePlacesBesideTheProgram)
{
    giveData("option");
    giveData("prefix/bin");
    giveData("installed");
    ASSERT_TRUE(locator(path("option")).enter());
    EXPECT_EQ(fs::current_path(), fs::path(path("option")));

    giveData("cwd");
    fs::current_path(path("cwd"));
    ASSERT_TRUE(locator(path("option")).enter());
    EXPECT_EQ(fs::current_path(), fs::path(path("cwd")));
}

TEST_F(DataLocatorTest, WithoutDataNamesEveryPlaceInOneLineAndStaysWhereItWas)
{
    fs::create_directories(path("option") + "/textures");
    std::ofstream(path("installed") + "/models") << "a file, not a directory";
    Ripplejet::DataLocator data = locator(path("option"));
    EXPECT_FALSE(data.enter());
    EXPECT_EQ(fs::current_path(), fs::path(path("cwd")));
    EXPECT_EQ(data.getProblem(), "no game data (a models/ directory) in the working directory " + path("cwd") +
                                     ", " + path("option") + ", " + path("prefix/bin") + ", " +
                                     path("prefix/share/ripplejet") + " or " + path("installed"));

    Ripplejet::DataLocator withoutOption = locator("");
    EXPECT_FALSE(withoutOption.enter());
    EXPECT_EQ(withoutOption.getProblem().find(path("option")), std::string::npos);
    EXPECT_NE(withoutOption.getProblem().find("; name the data directory with --data DIR"), std::string::npos);
}

} // namespace

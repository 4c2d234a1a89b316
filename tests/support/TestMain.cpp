#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <iostream>

namespace {

/// Counts skipped tests. Where the environment is guaranteed (CI sets
/// VELTA_FAIL_ON_SKIP=1) a skip means something is missing, so it fails the run.
class SkipCounter : public testing::EmptyTestEventListener {
public:
    void OnTestEnd(const testing::TestInfo& info) override
    {
        if (info.result() && info.result()->Skipped()) {
            ++mSkipped;
        }
    }

    int getSkipped() const { return mSkipped; }

private:
    int mSkipped = 0;
};

bool failOnSkip()
{
    const char* value = std::getenv("VELTA_FAIL_ON_SKIP");
    return value && std::strcmp(value, "1") == 0;
}

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    auto* skips = new SkipCounter();
    testing::UnitTest::GetInstance()->listeners().Append(skips);
    const int result = RUN_ALL_TESTS();
    if (result == 0 && failOnSkip() && skips->getSkipped() > 0) {
        std::cerr << skips->getSkipped() << " test(s) skipped where every test must run\n";
        return 1;
    }
    return result;
}

#include "core/VeltaCore.h"

#include <gtest/gtest.h>

extern "C" void* probeCoreAddress();

TEST(SharedCore, AnotherSharedObjectSeesTheSameCoreAsTheProgram)
{
    Velta::VeltaCore& mine = CppLib::Singleton<Velta::VeltaCore>::getSingleton();
    EXPECT_EQ(probeCoreAddress(), &mine);
    EXPECT_EQ(Velta::VeltaCore::mSingleton, &mine);
}

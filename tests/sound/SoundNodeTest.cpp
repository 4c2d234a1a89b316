#include "core/ProcessManager.h"
#include "scene/Branch.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "scene/TransformationNode.h"
#include "sound/Sound.h"
#include "sound/SoundChannel.h"
#include "support/CoreFixture.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Velta;

namespace {

using Vector3 = CppLib::TVector<float, 3>;

/// Stands in for an audio device only to observe what a sound node tells its
/// channel; the real engine's channels are tested with the engine.
class RecordingChannel : public SoundChannel {
public:
    bool setSoundSource(CppLib::SharedPtr<SoundSource>) override { return true; }
    bool setVolume(float) override { return true; }
    bool play() override { return true; }
    bool stop() override { return true; }
    bool setPaused(bool) override { return true; }
    bool setRepeat(bool) override { return true; }
    bool setMute(bool) override { return true; }
    bool setLoopCount(int) override { return true; }
    bool set3DAttributes(const Vector3& position, const Vector3& velocity) override
    {
        mPositions.push_back(position);
        mVelocity = velocity;
        return true;
    }
    bool isPlaying() const override { return false; }
    bool isMuted() const override { return false; }
    bool isPaused() const override { return false; }

    std::vector<Vector3> mPositions;
    Vector3 mVelocity{9.0f, 9.0f, 9.0f};
};

void expectAt(const RecordingChannel& channel, float x, float y, float z)
{
    ASSERT_FALSE(channel.mPositions.empty());
    const Vector3& last = channel.mPositions.back();
    EXPECT_NEAR(last.x(), x, 1e-5f);
    EXPECT_NEAR(last.y(), y, 1e-5f);
    EXPECT_NEAR(last.z(), z, 1e-5f);
    EXPECT_EQ(channel.mVelocity.length(), 0.0f);
}

using SoundNodeTest = VeltaTest::CoreFixture;

} // namespace

TEST_F(SoundNodeTest, ChannelsTakeTheNodesWorldPositionInTheFrameItMoves)
{
    SceneGraph& scene = core().getSceneManager().createSceneGraph();
    TransformationNode boat;
    Branch deck;
    Sound horn("horn");
    CppLib::SharedPtr<RecordingChannel> first(new RecordingChannel());
    CppLib::SharedPtr<RecordingChannel> second(new RecordingChannel());
    EXPECT_EQ(horn.addChannel(first), 0u);
    EXPECT_EQ(horn.addChannel(CppLib::SharedPtr<SoundChannel>()), 1u) << "an empty share is skipped";
    EXPECT_EQ(horn.addChannel(second), 2u);
    deck.attachChild(horn);
    boat.setChild(deck);
    scene.getRoot()->attachChild(boat);

    boat.translate(1, 2, 3, false);
    core().getProcessManager().update(true);
    expectAt(*first, 1, 2, 3);
    expectAt(*second, 1, 2, 3);

    boat.translate(4, 0, 0, false);
    boat.rotateY(1.0f, true); // turning about its own origin does not move it
    core().getProcessManager().update(true);
    expectAt(*first, 5, 2, 3);
    expectAt(*second, 5, 2, 3);
}

TEST_F(SoundNodeTest, ChannelsAreAddressedByIndexAndRemovedByIndex)
{
    Sound sound;
    CppLib::SharedPtr<SoundChannel> a(new RecordingChannel());
    CppLib::SharedPtr<SoundChannel> b(new RecordingChannel());
    sound.addChannel(a);
    sound.addChannel(b);
    EXPECT_TRUE(sound.getChannel(2).isNull());
    EXPECT_TRUE(sound.removeChannel(2).isNull());
    EXPECT_EQ(sound.getChannelCount(), 2u);

    EXPECT_EQ(sound.removeChannel(0).get(), a.get());
    EXPECT_EQ(sound.getChannel(0).get(), b.get());
    EXPECT_EQ(sound.getChannelCount(), 1u);
}

#include "core/ProcessManager.h"
#include "scene/Branch.h"
#include "scene/SceneGraph.h"
#include "scene/SceneManager.h"
#include "scene/TransformationNode.h"
#include "sound/Sound.h"
#include "sound/SoundChannel.h"
#include "support/CoreFixture.h"

#include <gtest/gtest.h>

using namespace Velta;
using Vector3 = CppLib::TVector<float, 3>;

namespace {

/// Stands in for an audio device only to observe what the sound node tells
/// its channel; the real engine's channels are tested with the engine.
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
    bool isPlaying() const override { return false; }
    bool isMuted() const override { return false; }
    bool isPaused() const override { return false; }
    bool set3DAttributes(const Vector3& position, const Vector3& velocity) override
    {
        mPosition = position;
        mVelocity = velocity;
        return true;
    }

    Vector3 mPosition;
    Vector3 mVelocity{9.0f, 9.0f, 9.0f};
};

void expectAt(const RecordingChannel& channel, float x, float y, float z)
{
    EXPECT_NEAR(channel.mPosition.x(), x, 1e-5f);
    EXPECT_NEAR(channel.mPosition.y(), y, 1e-5f);
    EXPECT_NEAR(channel.mPosition.z(), z, 1e-5f);
    EXPECT_EQ(channel.mVelocity.length(), 0.0f);
}

using SoundNodeTest = VeltaTest::CoreFixture;

} // namespace

TEST_F(SoundNodeTest, ChannelsTakeTheNodesWorldPositionInTheFrameItMoves)
{
    TransformationNode boat;
    Branch deck;
    Sound horn;
    CppLib::SharedPtr<RecordingChannel> channel(new RecordingChannel());
    horn.addChannel(CppLib::SharedPtr<SoundChannel>()); // an empty share is passed over
    EXPECT_EQ(horn.addChannel(channel), 1u);
    deck.attachChild(horn);
    boat.setChild(deck);
    core().getSceneManager().createSceneGraph().getRoot()->attachChild(boat);

    boat.translate(1, 2, 3, false);
    core().getProcessManager().update(true);
    expectAt(*channel, 1, 2, 3);
    boat.translate(4, 0, 0, false);
    core().getProcessManager().update(true);
    expectAt(*channel, 5, 2, 3);

    EXPECT_TRUE(horn.getChannel(2).isNull());
    EXPECT_TRUE(horn.removeChannel(2).isNull());
    EXPECT_TRUE(horn.removeChannel(0).isNull());
    EXPECT_EQ(horn.getChannel(0).get(), channel.get()) << "later channels move down";
}

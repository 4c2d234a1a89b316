#include "sound/Sound.h"

#include "scene/Group.h"
#include "sound/SoundChannel.h"

namespace Velta {

Sound::Sound() : Leaf(SOUND)
{
    mBoundingVolume.expand(Point());
}

Sound::Sound(const std::string& name) : Leaf(SOUND, name)
{
    mBoundingVolume.expand(Point());
}

Sound::~Sound() = default;

unsigned int Sound::addChannel(const CppLib::SharedPtr<SoundChannel>& channel)
{
    return static_cast<unsigned int>(mChannels.append(channel));
}

CppLib::SharedPtr<SoundChannel> Sound::getChannel(unsigned int index) const
{
    return index < mChannels.getSize() ? mChannels.get(static_cast<int>(index)) : CppLib::SharedPtr<SoundChannel>();
}

CppLib::SharedPtr<SoundChannel> Sound::removeChannel(unsigned int index)
{
    CppLib::SharedPtr<SoundChannel> channel = getChannel(index);
    mChannels.removeAt(static_cast<int>(index));
    return channel;
}

void Sound::update(bool beforeChildren)
{
    if (!beforeChildren) {
        return;
    }
    // The pass calls this before it places the node, and a leaf's world
    // matrix is its parent's: take the parent's, which the pass has already
    // brought up to date, so the sound is where its node is this frame and
    // not where it was the frame before.
    const Group* parent = getParent();
    const TransformedNode& placed = parent ? parent->getTransformedNode() : getTransformedNode();
    const Point position(placed.getWorldTransformation() * CppLib::TVector<float, 4>(0.0f, 0.0f, 0.0f, 1.0f));
    const CppLib::TVector<float, 3> at = position.toVector3();
    const CppLib::TVector<float, 3> still(0.0f, 0.0f, 0.0f);
    for (const CppLib::SharedPtr<SoundChannel>& channel : mChannels) {
        if (!channel.isNull()) {
            channel->set3DAttributes(at, still);
        }
    }
}

} // namespace Velta

#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/Vector.h"
#include "scene/BoundingBox.h"
#include "scene/Leaf.h"

namespace Velta {

class SoundChannel;

/// A scene node that carries sound channels: each frame's update pass moves
/// them to the node's world position, so a sound follows whatever it is
/// attached below. Channels are shared with whoever plays them.
///
/// A plain scene node, owned by whoever created it. Its bound is the single
/// point at its origin.
class VELTA_EXPORT Sound : public Leaf {
public:
    Sound();
    explicit Sound(const std::string& name);
    ~Sound() override;

    /// Appends `channel`; answers its index.
    unsigned int addChannel(const CppLib::SharedPtr<SoundChannel>& channel);

    /// The channel at `index`, or an empty pointer past the last.
    CppLib::SharedPtr<SoundChannel> getChannel(unsigned int index) const;

    /// Takes the channel at `index` out (later ones move down by one) and
    /// answers it; an empty pointer past the last.
    CppLib::SharedPtr<SoundChannel> removeChannel(unsigned int index);

    unsigned int getChannelCount() const { return mChannels.getSize(); }

    /// Entering the node (`beforeChildren`), the pass gives every channel the
    /// node's world position with velocity 0; leaving it does nothing.
    void update(bool beforeChildren) override;

    const BoundingVolume* getBoundingVolume() const override { return &mBoundingVolume; }

private:
    CppLib::Vector<CppLib::SharedPtr<SoundChannel>> mChannels;
    BoundingBox mBoundingVolume;
};

} // namespace Velta

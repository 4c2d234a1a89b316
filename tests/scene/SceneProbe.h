#pragma once

#include "scene/BoundingBox.h"
#include "scene/Drawable.h"
#include "scene/Leaf.h"
#include "scene/Node.h"
#include "scene/TransformationNode.h"
#include "scene/Traverser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace SceneTest {

/// A leaf with a bound of its choice that counts the update pass's calls.
class ProbeLeaf : public Velta::Leaf {
public:
    explicit ProbeLeaf(const std::string& name = std::string()) : Leaf(OBJECT, name) {}
    ProbeLeaf(const std::string& name, const Velta::Point& min, const Velta::Point& max)
        : Leaf(OBJECT, name), mBound(min, max)
    {
    }

    const Velta::BoundingVolume* getBoundingVolume() const override { return &mBound; }
    void update(bool beforeChildren) override { ++(beforeChildren ? mEntered : mLeft); }

    /// Marks the leaf changed, as a node whose own bound changed would.
    void touch() { setModified(false); }

    Velta::BoundingBox mBound;
    int mEntered = 0;
    int mLeft = 0;
};

/// A drawable probe leaf without geometry or materials.
class ProbeDrawable : public ProbeLeaf, public Velta::Drawable {
public:
    ProbeDrawable(const std::string& name, const Velta::Point& min, const Velta::Point& max)
        : ProbeLeaf(name, min, max)
    {
    }

    const CppLib::SharedPtr<Velta::Material> getMaterial(unsigned int) const override { return {}; }
    CppLib::SharedPtr<Velta::Material> getMaterial(unsigned int) override { return {}; }
    const CppLib::SharedPtr<Velta::Geometry> getGeometry(int) const override { return {}; }
    CppLib::SharedPtr<Velta::Geometry> getGeometry(int) override { return {}; }
    const Velta::BoundingVolume* getBoundingVolume() const override { return &mBound; }
};

/// A transformation node that counts the update pass's calls.
class ProbeTransformation : public Velta::TransformationNode {
public:
    explicit ProbeTransformation(const std::string& name = std::string()) : TransformationNode(name) {}
    void update(bool beforeChildren) override { ++(beforeChildren ? mEntered : mLeft); }

    int mEntered = 0;
    int mLeft = 0;
};

/// Writes "name DIRECTION" for every node handed over; answers `mAnswer`
/// for the node named `mAnswerAt`.
class RecordingHandler : public Velta::Traverser::Handler {
public:
    StatusResult handle(Velta::Node& node, Direction direction, Velta::Node*) override
    {
        static const char* const names[] = {"UP", "DOWN", "NEXT", "PREVIOUS"};
        mLog.push_back(node.getName() + " " + names[direction]);
        return node.getName() == mAnswerAt ? mAnswer : CONTINUE;
    }

    std::vector<std::string> mLog;
    std::string mAnswerAt;
    StatusResult mAnswer = CONTINUE;
};

/// Answers `mAnswer` for the node named `mAnswerAt`, CONTINUE otherwise.
class NamedFilter : public Velta::Traverser::Filter {
public:
    NamedFilter(const std::string& at, StatusResult answer) : mAnswerAt(at), mAnswer(answer) {}
    StatusResult filter(Velta::Node& node) override { return node.getName() == mAnswerAt ? mAnswer : CONTINUE; }

    std::string mAnswerAt;
    StatusResult mAnswer;
};

inline void expectPoint(const Velta::Point& actual, float x, float y, float z)
{
    EXPECT_NEAR(actual.x(), x, 1e-4f);
    EXPECT_NEAR(actual.y(), y, 1e-4f);
    EXPECT_NEAR(actual.z(), z, 1e-4f);
}

/// The box is FINITE with the given corners.
inline void expectBox(const Velta::BoundingVolume& volume, const Velta::Point& min, const Velta::Point& max)
{
    ASSERT_EQ(volume.getState(), Velta::BoundingVolume::FINITE);
    const Velta::BoundingBox* box = volume.asBox();
    ASSERT_NE(box, nullptr);
    expectPoint(box->getMin(), min.x(), min.y(), min.z());
    expectPoint(box->getMax(), max.x(), max.y(), max.z());
}

inline Velta::Point worldOrigin(const Velta::Node& node)
{
    return Velta::Point(node.getTransformedNode().getWorldTransformation() * CppLib::TVector<float, 4>(0, 0, 0, 1));
}

inline const Velta::BoundingVolume& worldBound(const Velta::Node& node)
{
    return node.getTransformedNode().getBoundingVolume();
}

} // namespace SceneTest

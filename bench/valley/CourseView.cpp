#include "CourseView.h"

#include "course/Course.h"
#include "duck/Duck.h"
#include "duck/DuckFollower.h"
#include "items/Item.h"
#include "race/Timerace.h"

#include "cpplib/Point.h"
#include "scene/Branch.h"
#include "scene/Camera.h"
#include "scene/SceneGraph.h"
#include "scene/Transformation.h"
#include "scene/TransformationNode.h"
#include "terrain/Terrain.h"
#include "water/Water.h"

#include <cmath>

namespace RipplejetBench {

namespace {

namespace Course = Ripplejet::Course;

constexpr int ALWAYS = -1;

/// What a transformation node holds, or the node itself.
Velta::Node* content(Velta::Node& node)
{
    auto* holder = dynamic_cast<Velta::TransformationNode*>(&node);
    return holder && holder->getChild() ? holder->getChild() : &node;
}

} // namespace

const char* const CourseView::PART_NAMES[PART_COUNT] = {"terrain", "water", "sky", "scenery", "items", "ducks"};

CourseView::CourseView(Ripplejet::Timerace& race) : mRace(&race)
{
    for (bool& shown : mShown) {
        shown = true;
    }
    race.getFollower()->setState(Velta::LogicElement::INACTIVE);
    mEye = dynamic_cast<Velta::TransformationNode*>(race.getCamera()->getParent());
    classify(*race.getSceneGraph()->getRoot());
}

void CourseView::classify(Velta::Branch& parent)
{
    for (int i = 0; i < parent.getAttachedChildCount(); ++i) {
        Velta::Node& node = *parent.getAttachedChild(i);
        Velta::Node* inside = content(node);
        int part = ALWAYS;
        if (node.getName() == "level" && dynamic_cast<Velta::Branch*>(&node)) {
            mMembers.push_back({&parent, &node, ALWAYS});
            classify(static_cast<Velta::Branch&>(node));
            continue;
        }
        if (dynamic_cast<Velta::Terrain*>(inside)) {
            part = TERRAIN;
        } else if (dynamic_cast<Velta::Water*>(inside)) {
            part = WATER;
        } else if (dynamic_cast<Ripplejet::Item*>(inside)) {
            part = ITEMS;
        } else if (dynamic_cast<Ripplejet::Duck*>(inside)) {
            part = DUCKS;
        } else if (inside->getNodeType() == Velta::Node::OBJECT) {
            part = inside->getName().find(Course::SKY_MODEL) != std::string::npos ? SKY : SCENERY;
        }
        mMembers.push_back({&parent, &node, part});
    }
}

void CourseView::setShown(Part part, bool shown)
{
    mShown[part] = shown;
    reattach();
}

void CourseView::reattach()
{
    // Opaque surfaces are drawn in the order attached: everything comes off
    // and what is shown goes back in the same order.
    for (const Member& member : mMembers) {
        if (member.node->getParent() == member.parent) {
            member.parent->detachChild(member.node->getNodeId());
        }
    }
    for (const Member& member : mMembers) {
        if (member.part == ALWAYS || mShown[member.part]) {
            member.parent->attachChild(*member.node);
        }
    }
}

void CourseView::placeCamera(float section)
{
    const std::vector<Course::CrossSection>& sections = Course::crossSections();
    Velta::Point duck(Course::PLAYER_START.x, Course::PLAYER_START.y, Course::PLAYER_START.z);
    float heading = 0.0f;
    const size_t first = section > 0.0f ? static_cast<size_t>(section) : 0;
    if (first > 0 && first + 1 < sections.size()) {
        const auto middle = [&sections](size_t index) {
            const Course::CrossSection& cut = sections[index];
            return Velta::Point((cut.left.x + cut.right.x) / 2, cut.left.y, (cut.left.z + cut.right.z) / 2);
        };
        const auto headingAt = [&middle](size_t index) {
            const Velta::Point from = middle(index);
            const Velta::Point ahead = middle(index + 1);
            // Heading 0 faces +z; turning by a positive angle about y faces +x.
            return std::atan2(ahead.x() - from.x(), ahead.z() - from.z());
        };
        duck = middle(first);
        heading = headingAt(first);
        const float t = section - static_cast<float>(first);
        if (t > 0.0f && first + 2 < sections.size()) {
            const Velta::Point to = middle(first + 1);
            duck = Velta::Point(duck.x() + (to.x() - duck.x()) * t, duck.y() + (to.y() - duck.y()) * t,
                                duck.z() + (to.z() - duck.z()) * t);
            const float turn = std::remainder(headingAt(first + 1) - heading, 2.0f * static_cast<float>(M_PI));
            heading += turn * t;
        }
    }
    // Where the follower settles behind the duck: its offset, the duck's
    // heading and the duck's place.
    const Velta::Transformation& offset = mRace->getFollower()->getOffsetTransformation();
    mEye->reset();
    mEye->multMatrix(offset.getLocalTransformation(), 0.0f);
    mEye->rotateY(heading, false);
    mEye->translate(duck.toVector3(), false);
}

} // namespace RipplejetBench

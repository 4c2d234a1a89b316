#pragma once


#include <vector>

namespace Ripplejet {
class Timerace;
} // namespace Ripplejet

namespace Velta {
class Branch;
class Node;
class TransformationNode;
} // namespace Velta

namespace RipplejetBench {

/// The race's course seen from fixed places, with its parts taken out and
/// put back to see what each costs: the race is loaded as the game loads
/// it; the camera stops following the duck and is placed by hand.
class CourseView {
public:
    enum Part { TERRAIN, WATER, SKY, SCENERY, ITEMS, DUCKS, PART_COUNT };
    static const char* const PART_NAMES[PART_COUNT];

    /// `race` must be loaded.
    explicit CourseView(Ripplejet::Timerace& race);

    /// Puts the camera behind a duck on the water in the middle of the
    /// river's cross section `section`, facing the next one; section 0 (and
    /// any without a next) is the player's place at the start, facing +z.
    /// A fraction moves the duck that far toward the next section, turning
    /// it as it goes, so that steps of a fraction make a flight.
    void placeCamera(float section);

    void setShown(Part part, bool shown);

private:
    /// A node under the scene's root or the course's branch, and the part
    /// it belongs to (none: always shown).
    struct Member {
        Velta::Branch* parent;
        Velta::Node* node;
        int part;
    };

    void classify(Velta::Branch& parent);
    void reattach();

    Ripplejet::Timerace* mRace;
    Velta::TransformationNode* mEye = nullptr;
    std::vector<Member> mMembers;
    bool mShown[PART_COUNT];
};

} // namespace RipplejetBench

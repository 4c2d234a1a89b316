#pragma once

#include "scene/Traverser.h"

namespace Ripplejet {

class Duck;

/// What the duck touches, handed the nodes whose bounds meet the duck's: an
/// object node with the property "type" is the start line ("start"), the
/// finish line ("finish") or an item ("item", picked up when the duck takes
/// it). The walk stops at the first such node.
class DuckQuery : public Velta::Traverser::Handler {
public:
    explicit DuckQuery(Duck& duck) : mDuck(&duck) {}

    /// The frame the next walk belongs to (ms).
    void setTimestamp(long long timestamp) { mTimestamp = timestamp; }

    StatusResult handle(Velta::Node& node, Direction direction, Velta::Node* previous) override;

private:
    Duck* mDuck;
    long long mTimestamp = 0;
};

} // namespace Ripplejet

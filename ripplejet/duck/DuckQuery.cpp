#include "duck/DuckQuery.h"

#include "duck/Duck.h"
#include "items/Item.h"

#include "scene/Node.h"

namespace Ripplejet {

Velta::Traverser::StatusResult DuckQuery::handle(Velta::Node& node, Direction direction, Velta::Node*)
{
    if (direction == UP || node.getNodeType() != Velta::Node::OBJECT || !node.hasProperty("type")) {
        return CONTINUE;
    }
    const std::string type = node.getProperty("type");
    if (type == "start") {
        mDuck->passStart(mTimestamp);
    } else if (type == "finish") {
        mDuck->passFinish(mTimestamp);
    } else if (type == "item") {
        auto* item = dynamic_cast<Item*>(&node);
        if (!item || item->isPickedUp()) {
            return CONTINUE; // what is left of an item taken already
        }
        if (mDuck->collect(*item, mTimestamp)) {
            item->pickUp();
        }
    }
    return ABORT;
}

} // namespace Ripplejet

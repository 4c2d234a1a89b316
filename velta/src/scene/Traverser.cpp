#include "scene/Traverser.h"

#include "scene/Group.h"
#include "scene/Node.h"

namespace Velta {

Traverser::Handler::~Handler() = default;

void Traverser::Handler::reset(Node&) {}

Traverser::Filter::~Filter() = default;

Traverser::Traverser(Node& root) : mRoot(&root), mCurrent(&root)
{
    mPath.reserve(32);
}

Traverser::~Traverser() = default;

void Traverser::addHandler(CppLib::SharedPtr<Handler> handler)
{
    if (!handler.isNull()) {
        mHandlers.append(handler);
    }
}

void Traverser::addFilter(CppLib::SharedPtr<Filter> filter)
{
    if (!filter.isNull()) {
        mFilters.append(filter);
    }
}

CppLib::SharedPtr<Traverser::Filter> Traverser::getFilter(unsigned int index) const
{
    return index < mFilters.getSize() ? mFilters.get(static_cast<int>(index)) : CppLib::SharedPtr<Filter>();
}

void Traverser::reset(bool)
{
    mPath.clear();
    mNodeCount = 0;
    mMaxDepth = 0;
    mCurrent = mRoot;
}

bool Traverser::isLeaf() const
{
    return mCurrent->asLeaf() != nullptr;
}

int Traverser::getChildCount() const
{
    const Group* group = mCurrent->asGroup();
    return group ? group->getAttachedChildCount() : -1;
}

Node* Traverser::moveDown(int index)
{
    const Group* group = mCurrent->asGroup();
    if (!group) {
        return nullptr;
    }
    const int count = group->getAttachedChildCount();
    if (count == 0 || index < -1 || index >= count) {
        return nullptr;
    }
    const int chosen = index == -1 ? getSibling(*group, count - 1, true) : getSibling(*group, index, false);
    if (chosen < 0) {
        return nullptr;
    }
    mCurrent = group->getAttachedChild(chosen);
    mPath.push_back(chosen);
    if (static_cast<int>(mPath.size()) > mMaxDepth) {
        mMaxDepth = static_cast<int>(mPath.size());
    }
    return mCurrent;
}

Node* Traverser::moveUp(bool)
{
    Group* parent = mCurrent->getParent();
    if (mCurrent == mRoot || !parent || mPath.empty()) {
        return nullptr;
    }
    mCurrent = parent;
    mPath.pop_back();
    return mCurrent;
}

Node* Traverser::nextSibling()
{
    return stepSideways(false);
}

Node* Traverser::prevSibling()
{
    return stepSideways(true);
}

Node* Traverser::stepSideways(bool backward)
{
    const Group* parent = mCurrent->getParent();
    if (mPath.empty() || mCurrent == mRoot || !parent) {
        return nullptr;
    }
    const int position = mPath.back();
    const int from = backward ? position - 1 : position + 1;
    if (from < 0) {
        return nullptr;
    }
    const int chosen = getSibling(*parent, from, backward);
    if (chosen < 0) {
        return nullptr;
    }
    mCurrent = parent->getAttachedChild(chosen);
    mPath.back() = chosen;
    return mCurrent;
}

Node* Traverser::walk(int maxDepth, bool reverse)
{
    Node* const start = mCurrent;
    int depth = 0;
    for (unsigned int i = 0; i < mHandlers.getSize(); ++i) {
        mHandlers.get(static_cast<int>(i))->reset(*start);
    }
    if (!mSkipRoot) {
        ++mNodeCount;
        if (handleNode(*start, DOWN, start) != GO_ON) {
            return start;
        }
    }
    if (!start->asGroup()) {
        return nullptr;
    }

    bool noDescent = false;
    Node* previous = start;
    for (;;) {
        Node* node = nullptr;
        Direction direction = DOWN;
        if (!noDescent && (maxDepth == 0 || depth < maxDepth)) {
            node = moveDown(reverse ? -1 : 0);
        }
        if (node) {
            ++depth;
        } else {
            noDescent = false;
            if (depth == 0) {
                return nullptr; // back at the start: its siblings are not ours
            }
            node = stepSideways(reverse);
            direction = reverse ? PREVIOUS : NEXT;
            if (!node) {
                node = moveUp(false);
                if (!node) {
                    return nullptr;
                }
                --depth;
                noDescent = true; // the group's children are done
                direction = UP;
            }
        }
        if (direction != UP) {
            ++mNodeCount;
        }
        const Outcome outcome = handleNode(*node, direction, previous);
        if (outcome == ABORT_WALK) {
            return node;
        }
        if (outcome == NO_DESCENT) {
            noDescent = true;
        }
        previous = node;
        if (node == start) {
            return nullptr;
        }
    }
}

bool Traverser::isFiltered(Node* node) const
{
    if (!node) {
        return true;
    }
    for (const CppLib::SharedPtr<Filter>& filter : mFilters) {
        switch (filter->filter(*node)) {
        case HANDLED:
            return false;
        case SKIP:
            return true;
        default:
            break; // CONTINUE and ABORT ask the next filter
        }
    }
    return false;
}

int Traverser::getSibling(const Group& group, int index, bool backward) const
{
    const int count = group.getAttachedChildCount();
    if (backward) {
        for (int i = index < count ? index : count - 1; i >= 0; --i) {
            if (!isFiltered(group.getAttachedChild(i))) {
                return i;
            }
        }
    } else {
        for (int i = index < 0 ? 0 : index; i < count; ++i) {
            if (!isFiltered(group.getAttachedChild(i))) {
                return i;
            }
        }
    }
    return -1;
}

Traverser::Outcome Traverser::handleNode(Node& node, Direction direction, Node* previous)
{
    // By index: a handler may add handlers while it runs.
    for (unsigned int i = 0; i < mHandlers.getSize(); ++i) {
        Handler* handler = mHandlers.get(static_cast<int>(i)).get();
        switch (handler->handle(node, direction, previous)) {
        case HANDLED:
            return GO_ON;
        case ABORT:
            return ABORT_WALK;
        case SKIP:
            return NO_DESCENT;
        default:
            break;
        }
    }
    return GO_ON;
}

} // namespace Velta

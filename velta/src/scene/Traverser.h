#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/Vector.h"

#include <vector>

namespace Velta {

class Group;
class Node;

/// The one depth-first walker of scene graphs. Everything that visits a
/// scene rides on it: the per-frame update, view culling and drawing, the
/// game's queries.
///
/// Filters decide which children may be entered; handlers are handed every
/// node the walk enters and every group it leaves. A traverser never leaves
/// the subtree of the node it was built over; a walk never leaves the subtree
/// of the node it starts from. Reusable (reset() puts it back on its root),
/// not re-entrant. The root must outlive the traverser's use.
///
/// Changing the graph from a handler is allowed for the node being handled
/// when the handler then answers ABORT; other changes during a walk make it
/// miss or repeat nodes, never crash.
class VELTA_EXPORT Traverser {
public:
    enum StatusResult {
        CONTINUE = 0, ///< go on with the next handler or filter
        HANDLED = 1,  ///< accepted: ask no further handler or filter
        ABORT = 2,    ///< handler: stop the walk here (a filter's ABORT counts as CONTINUE)
        SKIP = 3      ///< handler: do not descend into the node; filter: do not enter it
    };

    /// How the walk came to the node it hands over.
    enum Direction {
        UP = 0,      ///< back to a group after its last entered child
        DOWN = 1,    ///< from its parent (and the start node)
        NEXT = 2,    ///< from its previous sibling
        PREVIOUS = 3 ///< from its next sibling, in reverse walks
    };

    /// The walk's answers and directions, by their short names in the
    /// handlers and filters that derive from it.
    struct Names {
        using StatusResult = Traverser::StatusResult;
        using Direction = Traverser::Direction;
        static constexpr StatusResult CONTINUE = Traverser::CONTINUE;
        static constexpr StatusResult HANDLED = Traverser::HANDLED;
        static constexpr StatusResult ABORT = Traverser::ABORT;
        static constexpr StatusResult SKIP = Traverser::SKIP;
        static constexpr Direction UP = Traverser::UP;
        static constexpr Direction DOWN = Traverser::DOWN;
        static constexpr Direction NEXT = Traverser::NEXT;
        static constexpr Direction PREVIOUS = Traverser::PREVIOUS;
    };

    /// Sees the nodes of a walk. Held by SharedPtr; may serve several
    /// traversers (not at the same time).
    class VELTA_EXPORT Handler : public Names {
    public:
        virtual ~Handler();

        /// Once at the start of every walk, with the start node. Does nothing
        /// here.
        virtual void reset(Node& start);

        /// `previous` is the node handed over just before (the start node for
        /// the first call).
        virtual StatusResult handle(Node& node, Direction direction, Node* previous) = 0;
    };

    /// Decides whether the walk may enter a node. Held by SharedPtr.
    class VELTA_EXPORT Filter : public Names {
    public:
        virtual ~Filter();
        virtual StatusResult filter(Node& node) = 0;
    };

    explicit Traverser(Node& root);
    virtual ~Traverser();

    Traverser(const Traverser&) = delete;
    Traverser& operator=(const Traverser&) = delete;

    /// Handlers and filters are asked in the order added.
    void addHandler(CppLib::SharedPtr<Handler> handler);
    void addFilter(CppLib::SharedPtr<Filter> filter);
    /// Removes every handler (keeping the room they took).
    void clearHandlers() { mHandlers.clear(); }

    /// The filter at `index`, or an empty pointer.
    CppLib::SharedPtr<Filter> getFilter(unsigned int index) const;
    CppLib::Vector<CppLib::SharedPtr<Filter>> getFilterList() const { return mFilters; }

    /// With skip-root set the start node of a walk is not handed over on the
    /// way down (it still is with UP at the end when a child was entered).
    void setSkipRoot(bool skip) { mSkipRoot = skip; }
    bool doSkipRoot() const { return mSkipRoot; }

    /// Back on the root, with the path, node count and maximum depth cleared.
    void reset(bool flag = true);

    Node& getRoot() const { return *mRoot; }
    Node* getCurrentNode() const { return mCurrent; }
    /// Levels between the root and the current node.
    int getCurrentDepth() const { return static_cast<int>(mPath.size()); }
    /// Index of the current node in its parent; −1 on the root.
    int getCurrentPos() const { return mPath.empty() ? -1 : mPath.back(); }
    /// Deepest level that moveDown reached since the last reset.
    int getMaxDepth() const { return mMaxDepth; }
    /// Nodes the walks entered since the last reset (groups left with UP are
    /// not counted again).
    int getNodeCount() const { return mNodeCount; }

    bool isLeaf() const;
    /// Children of the current node; −1 when it is not a group.
    int getChildCount() const;

    /// Single steps. Each answers the new current node, or null, changing
    /// nothing, when the step is impossible. moveDown(−1) enters the last
    /// child that the filters let in, moveDown(i) the first at or after i.
    Node* moveDown(int index);
    Node* moveUp(bool flag = true);
    Node* nextSibling();
    Node* prevSibling();

    /// Walks the subtree of the current node depth first: each entered node
    /// is handed over on the way down, each group again with UP after its
    /// last entered child. `maxDepth` limits how many levels below the start
    /// are entered (0: no limit); `reverse` takes children last to first.
    /// Answers null for a complete walk, or the node at which a handler
    /// answered ABORT (or the start node when the start's handlers answered
    /// ABORT or SKIP).
    Node* walk(int maxDepth = 0, bool reverse = false);

private:
    enum Outcome {
        GO_ON,
        ABORT_WALK,
        NO_DESCENT
    };

    bool isFiltered(Node* node) const;
    /// First child at `index` or beyond (before, when `backward`) that the
    /// filters let in; −1 for none.
    int getSibling(const Group& group, int index, bool backward) const;
    Outcome handleNode(Node& node, Direction direction, Node* previous);
    Node* stepSideways(bool backward);

    bool mSkipRoot = false;
    Node* mRoot;
    int mNodeCount = 0;
    int mMaxDepth = 0;
    /// Child index at each level from the root down to the current node;
    /// its capacity is kept, so walks allocate only when they go deeper than
    /// ever before.
    std::vector<int> mPath;
    CppLib::Vector<CppLib::SharedPtr<Handler>> mHandlers;
    CppLib::Vector<CppLib::SharedPtr<Filter>> mFilters;
    Node* mCurrent;
};

} // namespace Velta

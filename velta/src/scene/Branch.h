#pragma once

#include "VeltaExport.h"
#include "scene/Group.h"

namespace Velta {

/// A plain group for building scenes: every scene's root is one.
class VELTA_EXPORT Branch : public Group {
public:
    Branch();
    explicit Branch(const std::string& name);
    Branch(const std::string& name, const std::string& uniqueName);
    ~Branch() override;

    /// Adds `child` last; −1 when refused (see Group::attachChild).
    int attachChild(Node& child) { return Group::attachChild(child); }

    /// Takes the child out of the branch; null when no child has that id.
    Node* detachChild(unsigned long long id) { return Group::detachChild(id); }
};

} // namespace Velta

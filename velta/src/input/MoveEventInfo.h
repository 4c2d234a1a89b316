#pragma once

#include "VeltaExport.h"
#include "cpplib/Vector.h"
#include "input/InputEventInfo.h"

namespace Velta {

/// A pointer position, one value per axis. The SDL provider sends two axes,
/// the absolute x and y in window pixels; a processor may rewrite them into
/// its own units. Up to three axes are kept without allocating.
class VELTA_EXPORT MoveEventInfo : public InputEventInfo {
public:
    /// Keeps a copy of `axes`.
    explicit MoveEventInfo(const CppLib::Vector<float>& axes);
    MoveEventInfo(float x, float y);
    ~MoveEventInfo() override;

    MoveEventInfo* clone() const override;

    /// Two axes, x and y, in place of what the info held.
    void setPosition(float x, float y);

    int getAxisCount() const { return static_cast<int>(mCount); }
    /// The value of axis `i`; 0.0 for an axis the info does not have.
    float getAxis(int i) const;
    float getX() const { return getAxis(0); }
    float getY() const { return getAxis(1); }
    float getZ() const { return getAxis(2); }

private:
    static constexpr unsigned int INLINE_AXES = 3;

    unsigned int mCount = 0;
    float mInline[INLINE_AXES] = {0.0f, 0.0f, 0.0f};
    /// The axes when there are more than INLINE_AXES; empty otherwise.
    CppLib::Vector<float> mMore;
};

} // namespace Velta

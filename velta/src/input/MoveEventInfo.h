#pragma once

#include "VeltaExport.h"
#include "cpplib/Vector.h"
#include "input/InputEventInfo.h"

namespace Velta {

/// A pointer position, one value per axis. The SDL provider sends two axes,
/// the absolute x and y in window pixels; a processor may rewrite them into
/// its own units.
class VELTA_EXPORT MoveEventInfo : public InputEventInfo {
public:
    /// Keeps a copy of `axes`.
    explicit MoveEventInfo(const CppLib::Vector<float>& axes);
    MoveEventInfo(float x, float y);
    ~MoveEventInfo() override;

    MoveEventInfo* clone() const override;

    int getAxisCount() const { return static_cast<int>(mAxes.getSize()); }

    /// The value of axis `i`; 0.0 for an axis the info does not have.
    float getAxis(int i) const { return mAxes.get(i); }

    float getX() const { return getAxis(0); }
    float getY() const { return getAxis(1); }
    float getZ() const { return getAxis(2); }

private:
    CppLib::Vector<float> mAxes;
};

} // namespace Velta

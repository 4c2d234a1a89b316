#pragma once

#include "VeltaExport.h"
#include "cpplib/Color.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/TVector.h"
#include "cpplib/Vector.h"
#include "particles/RandomSource.h"

namespace Velta {

class BoundingBox;
class Geometry;
class GeometryData;
class IndexElementData;
class VertexData;

/// The particles of one effect: a slot per particle, each with a vertex of
/// the effect's point geometry (position and texture coordinate (0, 0)) and
/// a record (alive or not, velocity, time of death, size). Slots of dead
/// particles are reused, the most recently freed first, before the store
/// grows; once it has grown to an effect's size, adding, moving and killing
/// particles allocates nothing.
///
/// Particles are reached through a cursor: setParticle() or nextParticle()
/// selects one, and the getters and setters read and write the selected
/// particle (without one they do nothing and read zero).
///
/// The geometry draws the live particles only: updateData() lists them in
/// its point element and brings its bound up to date. It is created with the
/// store (a started core is needed) and stays the same object for the
/// store's life, so it can be put into the scene once.
class VELTA_EXPORT ParticleData {
public:
    ParticleData();
    virtual ~ParticleData();

    ParticleData(const ParticleData&) = delete;
    ParticleData& operator=(const ParticleData&) = delete;

    /// Drops every particle and slot and starts the storage afresh.
    void initialize();

    /// Adds a live particle at `position` (velocity zero, size 1) that dies
    /// after the timestamp `deathTime` (0 or negative: never of age) and
    /// selects it; answers its slot.
    unsigned int addParticle(const CppLib::TVector<float, 3>& position, long long deathTime);

    /// Selects the slot `index`, live or not; a negative index deselects.
    /// False, changing nothing, when there is no such slot.
    bool setParticle(int index);

    /// Selects the next live particle after the selected one (the first one
    /// when none is selected); false, and deselected, when there is none.
    bool nextParticle();

    /// Kills the selected particle and frees its slot. The slot stays
    /// selected, so nextParticle() goes on after it.
    void deleteParticle();

    /// Whether the selected particle is alive.
    bool isActive() const;

    /// The selected slot, or −1.
    int getCurrentNum() const { return mCurrent; }

    /// Live particles (slots that are not free). The flag selects nothing.
    unsigned int getParticleCount(bool = true) const;

    /// Slots made so far, live or free.
    unsigned int getSlotCount() const { return mParticles.getSize(); }

    void setPosition(const CppLib::TVector<float, 3>& position);
    CppLib::TVector<float, 3> getPosition() const;
    /// Units per second.
    void setVelocity(const CppLib::TVector<float, 3>& velocity);
    CppLib::TVector<float, 3> getVelocity() const;
    void setSize(float size);
    float getSize() const;
    /// The timestamp after which the particle dies; 0 or negative: never.
    void setMaxTime(long long deathTime);
    long long getMaxTime() const;

    /// Particles have no colour of their own: opaque black, and setting one
    /// changes nothing.
    Color getColor() const { return Color(0.0f, 0.0f, 0.0f, 1.0f); }
    void setColor(const Color&) {}

    /// Kills every particle; the slots stay for reuse.
    void clear();

    /// Lists the live particles for drawing, bounds them and marks the
    /// geometry changed; answers how many are alive. Called once a frame.
    unsigned int updateData(long long now);

    /// The geometry that draws the particles as points.
    CppLib::SharedPtr<Geometry> getGeometryData() const;

    /// The effect's random sequence, for its emitter and force model.
    RandomSource& getRandom() { return mRandom; }

private:
    struct Particle {
        bool active = false;
        CppLib::TVector<float, 3> velocity;
        long long deathTime = 0;
        float size = 1.0f;
    };

    Particle* current() { return mCurrent >= 0 ? &mParticles[mCurrent] : nullptr; }
    const Particle* current() const { return mCurrent >= 0 ? &mParticles.get(mCurrent) : nullptr; }
    CppLib::TVector<float, 3> positionOf(unsigned int slot) const;
    unsigned int appendSlot();

    CppLib::SharedPtr<GeometryData> mGeometry;
    CppLib::SharedPtr<VertexData> mVertices;
    IndexElementData* mPoints = nullptr; ///< owned by the geometry's group
    BoundingBox* mBound = nullptr;       ///< owned by the geometry
    CppLib::Vector<Particle> mParticles;
    /// Freed slots, most recent last; room for every slot is kept reserved.
    CppLib::Vector<unsigned int> mFreeSlots;
    unsigned int mReserved = 0;
    int mCurrent = -1;
    RandomSource mRandom;
};

} // namespace Velta

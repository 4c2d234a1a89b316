#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "particles/ParticleData.h"

namespace Velta {

/// A point-particle effect: a store of particles, an emitter that creates
/// them and a force model that moves them, driven once a frame with the
/// frame's timestamp (timer manager milliseconds). Put
/// getParticleData().getGeometryData() into the scene, usually with a
/// point-sprite material, to draw it.
///
/// Build it, set emitter and force model, initialize(), start(), then
/// update() every frame. stop(true) lets the effect fade: nothing new is
/// emitted and the engine stops by itself once the last particle has died.
/// A stopped engine keeps its particles. Needs a started core.
class VELTA_EXPORT ParticleEngine {
public:
    /// Creates particles: a batch at initialisation, then some every frame.
    class VELTA_EXPORT Emitter {
    public:
        virtual ~Emitter();

        /// Creates the initial particles at `now`; answers how many.
        virtual unsigned int initParticles(ParticleData& data, long long now) = 0;

        /// Creates the particles of a frame `dt` seconds long ending at
        /// `now`; answers how many.
        virtual unsigned int createParticles(ParticleData& data, long long now, float dt) = 0;

    protected:
        Emitter() = default;
        Emitter(const Emitter&) = default;
        Emitter& operator=(const Emitter&) = default;
    };

    /// Moves the selected particle of `data` by one step of `dt` seconds.
    class VELTA_EXPORT ForceModel {
    public:
        virtual ~ForceModel();

        virtual void updateParticle(ParticleData& data, long long now, float dt) = 0;

    protected:
        ForceModel() = default;
        ForceModel(const ForceModel&) = default;
        ForceModel& operator=(const ForceModel&) = default;
    };

    ParticleEngine();
    virtual ~ParticleEngine();

    ParticleEngine(const ParticleEngine&) = delete;
    ParticleEngine& operator=(const ParticleEngine&) = delete;

    void setEmitter(const CppLib::SharedPtr<Emitter>& emitter) { mEmitter = emitter; }
    CppLib::SharedPtr<Emitter> getEmitter() const { return mEmitter; }
    void setForceModel(const CppLib::SharedPtr<ForceModel>& forceModel) { mForceModel = forceModel; }
    CppLib::SharedPtr<ForceModel> getForceModel() const { return mForceModel; }

    ParticleData& getParticleData() { return mData; }
    const ParticleData& getParticleData() const { return mData; }

    /// Makes initialize() seed the random sequence with `seed` rather than
    /// the calendar time, so the effect repeats exactly.
    void setRandomSeed(unsigned int seed);

    /// Seeds the random sequence, empties the store, starts the clock and
    /// lets the emitter create its initial particles, which the geometry
    /// shows and bounds at once. Answers true.
    bool initialize();

    /// Runs the effect from now on, emitting again after a burn-out.
    void start();

    /// With `burnOut` false, stops at once. With true, stops emitting and
    /// lets the live particles die; the engine stops by itself in the update
    /// that finds none left alive.
    void stop(bool burnOut);

    bool isRunning() const { return mRunning; }
    bool isBurnOut() const { return mBurnOut; }

    /// Restarts the clock: the next update's step begins now.
    void clear();

    /// One frame at `now`: emits, retires the particles whose time has
    /// passed, moves the others and brings the geometry up to date. The
    /// step is the time since the previous update (or since start(),
    /// initialize() or clear()). Does nothing unless running. Allocates
    /// nothing once the store has grown to the effect's size.
    void update(long long now);

private:
    void retireAndMove(long long now, float dt);

    bool mRunning = false;
    bool mBurnOut = false;
    long long mStartTime = 0;
    long long mLastUpdate = 0;
    bool mFixedSeed = false;
    unsigned int mSeed = 0;
    CppLib::SharedPtr<Emitter> mEmitter;
    CppLib::SharedPtr<ForceModel> mForceModel;
    ParticleData mData;
};

} // namespace Velta

#include "particles/ParticleEngine.h"

#include "core/TimerManager.h"
#include "core/VeltaCore.h"

#include <ctime>

namespace Velta {

namespace {

long long currentTime()
{
    return VeltaCore::getSingleton().getTimerManager().getTimestamp();
}

} // namespace

ParticleEngine::Emitter::~Emitter() = default;

ParticleEngine::ForceModel::~ForceModel() = default;

ParticleEngine::ParticleEngine() = default;

ParticleEngine::~ParticleEngine() = default;

void ParticleEngine::setRandomSeed(unsigned int seed)
{
    mFixedSeed = true;
    mSeed = seed;
}

bool ParticleEngine::initialize()
{
    mData.getRandom().seed(mFixedSeed ? mSeed : static_cast<unsigned int>(std::time(nullptr)));
    mData.initialize();
    mStartTime = currentTime();
    mLastUpdate = mStartTime;
    if (!mEmitter.isNull()) {
        mEmitter->initParticles(mData, mStartTime);
    }
    // The initial particles are drawn and bounded from the start, before
    // the first update.
    mData.updateData(mStartTime);
    return true;
}

void ParticleEngine::start()
{
    mStartTime = currentTime();
    mLastUpdate = mStartTime;
    mRunning = true;
    mBurnOut = false;
}

void ParticleEngine::stop(bool burnOut)
{
    if (burnOut) {
        mBurnOut = true;
    } else {
        mRunning = false;
        mBurnOut = false;
    }
}

void ParticleEngine::clear()
{
    mStartTime = currentTime();
    mLastUpdate = mStartTime;
}

void ParticleEngine::update(long long now)
{
    if (!mRunning || mStartTime == 0) {
        return;
    }
    // The step since the previous update: emission per second and the
    // force models' Euler steps stay the same at any frame rate.
    const float dt = now > mLastUpdate ? static_cast<float>(now - mLastUpdate) * 0.001f : 0.0f;
    mLastUpdate = now;

    if (!mEmitter.isNull() && !mBurnOut) {
        mEmitter->createParticles(mData, now, dt);
    }
    retireAndMove(now, dt);
    const unsigned int alive = mData.updateData(now);
    if (mBurnOut && alive == 0) {
        mRunning = false;
        mBurnOut = false;
    }
}

void ParticleEngine::retireAndMove(long long now, float dt)
{
    mData.setParticle(-1);
    while (mData.nextParticle()) {
        const long long deathTime = mData.getMaxTime();
        if (deathTime > 0 && now > deathTime) {
            mData.deleteParticle();
        } else if (!mForceModel.isNull()) {
            mForceModel->updateParticle(mData, now, dt);
        }
    }
}

} // namespace Velta

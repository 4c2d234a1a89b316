#include "geometry/GeometryData.h"
#include "geometry/GeometryDataGroup.h"
#include "geometry/IndexElementData.h"
#include "particles/LinearForceModel.h"
#include "particles/PointEmitter.h"
#include "particles/RotateForceModel.h"
#include "scene/SceneProbe.h"
#include "support/AllocationCounter.h"
#include "support/ClockedCoreFixture.h"

#include <cmath>
#include <memory>
#include <vector>

using namespace Velta;
using Vector3 = CppLib::TVector<float, 3>;

namespace {

/// Particle engines run frame by frame on a hand-set clock.
class ParticleEngineTest : public VeltaTest::ClockedCoreFixture {
protected:
    void TearDown() override
    {
        mEngine.reset();
        ClockedCoreFixture::TearDown();
    }

    /// A seeded engine with a point emitter of `rate` particles a second
    /// that live `minAge` … `maxAge` ms, and `forceModel` (may be null).
    ParticleEngine& makeEngine(float rate, unsigned int minAge, unsigned int maxAge,
                               ParticleEngine::ForceModel* forceModel = new LinearForceModel())
    {
        mEngine = std::make_unique<ParticleEngine>();
        mEmitter = new PointEmitter();
        mEmitter->setPointsPerSecond(rate);
        mEmitter->setPointAge(minAge, maxAge);
        mEngine->setEmitter(CppLib::SharedPtr<ParticleEngine::Emitter>(mEmitter));
        if (forceModel) {
            mEngine->setForceModel(CppLib::SharedPtr<ParticleEngine::ForceModel>(forceModel));
        }
        mEngine->setRandomSeed(7);
        return *mEngine;
    }

    ParticleData& start()
    {
        mEngine->initialize();
        mEngine->start();
        return mEngine->getParticleData();
    }

    /// Runs `frames` frames at `fps`, with whole-millisecond timestamps as a
    /// real clock gives them.
    void runFrames(int fps, int frames)
    {
        const long long start = mClock.getTimestamp();
        for (int i = 1; i <= frames; ++i) {
            mClock.set(start + std::llround(i * 1000.0 / fps));
            mEngine->update(mClock.getTimestamp());
        }
    }

    std::unique_ptr<ParticleEngine> mEngine;
    PointEmitter* mEmitter = nullptr;
};

/// The death times of the live particles, in slot order.
std::vector<long long> deathTimes(ParticleData& data)
{
    std::vector<long long> times;
    data.setParticle(-1);
    while (data.nextParticle()) {
        times.push_back(data.getMaxTime());
    }
    return times;
}

} // namespace

TEST_F(ParticleEngineTest, EmissionKeepsItsRateAtAnyFrameRate)
{
    for (int fps : {30, 60, 144}) {
        for (float rate : {10.0f, 30.0f, 45.0f}) {
            makeEngine(rate, 0, 0);
            ParticleData& data = start();
            for (int second = 1; second <= 5; ++second) {
                runFrames(fps, fps);
                EXPECT_NEAR(data.getParticleCount(), rate * second, 1.0f) << fps << " fps, " << rate << " a second";
            }
        }
    }
}

TEST_F(ParticleEngineTest, ParticlesDieAfterTheirAgeWithOrWithoutAForceModel)
{
    for (ParticleEngine::ForceModel* model : {static_cast<ParticleEngine::ForceModel*>(new LinearForceModel()),
                                              static_cast<ParticleEngine::ForceModel*>(nullptr)}) {
        makeEngine(0, 1, 1000, model);
        mEmitter->setInitPointCount(200);
        const long long born = mClock.getTimestamp();
        ParticleData& data = start();
        const std::vector<long long> deaths = deathTimes(data);
        ASSERT_EQ(deaths.size(), 200u);
        for (long long death : deaths) {
            EXPECT_TRUE(death >= born + 1 && death <= born + 1000) << death - born;
        }
        for (int frame = 0; frame < 110; ++frame) {
            mClock.advance(10);
            const long long now = mClock.getTimestamp();
            mEngine->update(now);
            unsigned int alive = 0;
            for (long long death : deaths) {
                alive += death >= now ? 1 : 0;
            }
            ASSERT_EQ(data.getParticleCount(), alive) << "at " << now - born << " ms";
        }
    }
}

TEST_F(ParticleEngineTest, FreedSlotsAreReusedLastFirstSoASteadyEffectNeitherGrowsNorAllocates)
{
    makeEngine(200, 100, 400);
    ParticleData& data = mEngine->getParticleData();
    const auto& geometry = static_cast<const GeometryData&>(*data.getGeometryData());
    EXPECT_EQ(data.updateData(0), 0u);
    EXPECT_EQ(geometry.getBoundingVolume()->getState(), BoundingVolume::EMPTY);
    data.addParticle(Vector3(1, 2, 3), 0);
    data.addParticle(Vector3(-50, 50, 0), 0);
    data.addParticle(Vector3(-1, 0, 9), 0);
    data.setParticle(1);
    data.deleteParticle();
    data.deleteParticle(); // a second delete must not free the slot twice
    // The geometry draws and bounds the live particles only.
    EXPECT_EQ(data.updateData(0), 2u);
    SceneTest::expectBox(*geometry.getBoundingVolume(), Point(-1, 0, 3), Point(1, 2, 9));
    const auto& points = dynamic_cast<const IndexElementData&>(*geometry.getGroup(0)->getElementList(0).get(0));
    EXPECT_EQ(points.getElementType(), GeometryElement::POINTS);
    ASSERT_EQ(points.getIndexList().getCount(), 2u);
    EXPECT_EQ(points.getIndexList().getIndex(1), 2u);

    data.setParticle(0);
    data.deleteParticle();
    EXPECT_EQ(data.addParticle(Vector3(), 0), 0u);
    EXPECT_EQ(data.addParticle(Vector3(), 0), 1u);
    EXPECT_EQ(data.addParticle(Vector3(), 0), 3u);

    static_cast<LinearForceModel&>(*mEngine->getForceModel()).setRandomForce(Vector3(0.1f, 0.1f, 0.1f));
    mEmitter->setUseRandomForce(true);
    start();
    runFrames(60, 120); // the first particles have died and been replaced
    const unsigned int slots = data.getSlotCount();
    VeltaTest::AllocationCounter allocations;
    runFrames(60, 600);
    EXPECT_EQ(allocations.getCount(), 0u);
    EXPECT_LE(data.getSlotCount(), 90u); // at most 400 ms of particles at 200 a second, and a few
    EXPECT_LE(data.getSlotCount(), slots + 5);
}

TEST_F(ParticleEngineTest, ABurntOutEffectRunsUntilItsLastParticleHasDied)
{
    makeEngine(100, 200, 200);
    ParticleData& data = start();
    runFrames(50, 5); // 100 ms of particles, the last born at +100
    const unsigned int alive = data.getParticleCount();
    EXPECT_NEAR(alive, 10, 1);

    mEngine->stop(true);
    runFrames(50, 10); // up to +300: the last ones are still alive
    EXPECT_TRUE(mEngine->isRunning());
    EXPECT_TRUE(data.getParticleCount() > 0 && data.getParticleCount() < alive);
    runFrames(50, 1);
    EXPECT_FALSE(mEngine->isRunning());
    EXPECT_FALSE(mEngine->isBurnOut());
}

TEST_F(ParticleEngineTest, ForceModelsStepPositionsAndVelocities)
{
    auto* linear = new LinearForceModel();
    linear->setExtForce(Vector3(0, -2, 0));
    for (ParticleEngine::ForceModel* model : {static_cast<ParticleEngine::ForceModel*>(linear),
                                              static_cast<ParticleEngine::ForceModel*>(new RotateForceModel())}) {
        makeEngine(0, 0, 0, model);
        ParticleData& data = start();
        data.addParticle(Vector3(0, 10, 0), 0);
        data.setVelocity(Vector3(1, 0, 0));
        runFrames(2, 1); // half a second
        data.setParticle(0);
        if (model == linear) { // the position moves by the velocity before the step
            EXPECT_NEAR((data.getPosition() - Vector3(0.5f, 10, 0)).length(), 0.0f, 1e-5f);
            EXPECT_NEAR((data.getVelocity() - Vector3(1, -1, 0)).length(), 0.0f, 1e-5f);
        } else { // the particle keeps its distance from the centre
            EXPECT_NEAR(data.getPosition().length(), 10.0f, 1e-4f);
            EXPECT_GT(data.getPosition().x(), 0.0f);
            EXPECT_NEAR(data.getVelocity().length(), 0.005f, 1e-6f);
        }
    }
}

TEST_F(ParticleEngineTest, BadRatesAndAgeRangesAreReportedAndMadeHarmless)
{
    testing::internal::CaptureStderr();
    makeEngine(-30, 0, 0);
    ParticleData& none = start();
    runFrames(1, 1);
    EXPECT_EQ(none.getParticleCount(), 0u);
    makeEngine(100, 400, 100);
    const long long born = mClock.getTimestamp() + 20;
    ParticleData& data = start();
    runFrames(50, 1);
    const std::string log = testing::internal::GetCapturedStderr();

    EXPECT_EQ(log, "Negative particle rate -30 per second: no particles are emitted\n"
                   "Particle age range 400 to 100 ms is upside down: ages from 100 to 400 ms are used\n");
    ASSERT_EQ(data.getParticleCount(), 2u);
    for (long long death : deathTimes(data)) {
        EXPECT_TRUE(death >= born + 100 && death <= born + 400) << death - born;
    }
}

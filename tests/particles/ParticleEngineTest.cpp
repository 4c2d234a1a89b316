#include "geometry/GeometryData.h"
#include "geometry/GeometryDataGroup.h"
#include "geometry/IndexElementData.h"
#include "particles/LinearForceModel.h"
#include "particles/ParticleEngine.h"
#include "particles/PointEmitter.h"
#include "particles/RotateForceModel.h"
#include "scene/SceneProbe.h"
#include "support/AllocationCounter.h"
#include "support/ManualClock.h"

#include <algorithm>
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
        mEngines.clear();
        ClockedCoreFixture::TearDown();
    }

    /// A seeded engine with a point emitter of `rate` particles a second
    /// that live `minAge` … `maxAge` ms, and `forceModel` (may be null).
    ParticleEngine& makeEngine(float rate, unsigned int minAge, unsigned int maxAge,
                               ParticleEngine::ForceModel* forceModel = new LinearForceModel())
    {
        mEngines.push_back(std::make_unique<ParticleEngine>());
        ParticleEngine& engine = *mEngines.back();
        auto* emitter = new PointEmitter();
        emitter->setPointsPerSecond(rate);
        emitter->setPointAge(minAge, maxAge);
        mEmitter = emitter;
        engine.setEmitter(CppLib::SharedPtr<ParticleEngine::Emitter>(emitter));
        if (forceModel) {
            engine.setForceModel(CppLib::SharedPtr<ParticleEngine::ForceModel>(forceModel));
        }
        engine.setRandomSeed(7);
        return engine;
    }

    void startAll()
    {
        for (auto& engine : mEngines) {
            engine->initialize();
            engine->start();
        }
    }

    /// Runs `frames` frames at `fps`, with whole-millisecond timestamps as a
    /// real clock gives them.
    void runFrames(ParticleEngine& engine, int fps, int frames)
    {
        const long long start = mClock.getTimestamp();
        for (int i = 1; i <= frames; ++i) {
            mClock.set(start + std::llround(i * 1000.0 / fps));
            engine.update(mClock.getTimestamp());
        }
    }

    std::vector<std::unique_ptr<ParticleEngine>> mEngines;
    PointEmitter* mEmitter = nullptr;
};

std::vector<Vector3> livePositions(ParticleData& data)
{
    std::vector<Vector3> positions;
    data.setParticle(-1);
    while (data.nextParticle()) {
        positions.push_back(data.getPosition());
    }
    return positions;
}

} // namespace

TEST_F(ParticleEngineTest, EmissionKeepsItsRateAtAnyFrameRate)
{
    for (int fps : {30, 60, 144}) {
        for (float rate : {10.0f, 30.0f, 45.0f}) {
            ParticleEngine& engine = makeEngine(rate, 0, 0);
            startAll();
            for (int second = 1; second <= 5; ++second) {
                runFrames(engine, fps, fps);
                EXPECT_NEAR(engine.getParticleData().getParticleCount(), rate * second, 1.0f)
                    << fps << " frames a second, " << rate << " particles a second";
            }
            mEngines.clear();
        }
    }
}

TEST_F(ParticleEngineTest, ParticlesDieAfterTheirAgeAndNeverWithMaxAgeZero)
{
    ParticleEngine& mortal = makeEngine(0, 1, 1000);
    mEmitter->setInitPointCount(200);
    ParticleEngine& immortal = makeEngine(0, 0, 0, new RotateForceModel());
    mEmitter->setInitPointCount(5);
    const long long born = mClock.getTimestamp();
    startAll();

    ParticleData& data = mortal.getParticleData();
    std::vector<long long> deaths;
    data.setParticle(-1);
    while (data.nextParticle()) {
        deaths.push_back(data.getMaxTime());
    }
    ASSERT_EQ(deaths.size(), 200u);
    EXPECT_GE(*std::min_element(deaths.begin(), deaths.end()), born + 1);
    EXPECT_LE(*std::max_element(deaths.begin(), deaths.end()), born + 1000);

    for (int frame = 0; frame < 110; ++frame) {
        mClock.advance(10);
        const long long now = mClock.getTimestamp();
        mortal.update(now);
        immortal.update(now);
        const auto alive = std::count_if(deaths.begin(), deaths.end(), [now](long long t) { return t >= now; });
        ASSERT_EQ(data.getParticleCount(), static_cast<unsigned int>(alive)) << "at " << now - born << " ms";
    }
    EXPECT_EQ(data.getParticleCount(), 0u);
    EXPECT_EQ(immortal.getParticleData().getParticleCount(), 5u);
}

TEST_F(ParticleEngineTest, WithoutAForceModelParticlesStillDieOfAge)
{
    ParticleEngine& engine = makeEngine(0, 50, 50, nullptr);
    mEmitter->setInitPointCount(3);
    startAll();
    runFrames(engine, 100, 6); // 60 ms
    EXPECT_EQ(engine.getParticleData().getParticleCount(), 0u);
}

TEST_F(ParticleEngineTest, FreedSlotsAreReusedLastFirstBeforeTheStoreGrows)
{
    makeEngine(0, 0, 0);
    ParticleData& data = mEngines.back()->getParticleData();
    for (int i = 0; i < 3; ++i) {
        data.addParticle(Vector3(), 0);
    }
    data.setParticle(1);
    data.deleteParticle();
    data.deleteParticle(); // a second delete must not free the slot twice
    data.setParticle(0);
    data.deleteParticle();
    EXPECT_EQ(data.getParticleCount(), 1u);
    EXPECT_EQ(data.addParticle(Vector3(), 0), 0u);
    EXPECT_EQ(data.addParticle(Vector3(), 0), 1u);
    EXPECT_EQ(data.addParticle(Vector3(), 0), 3u);
    EXPECT_EQ(data.getSlotCount(), 4u);
}

TEST_F(ParticleEngineTest, ASteadyEffectNeitherGrowsNorAllocates)
{
    ParticleEngine& engine = makeEngine(200, 100, 400);
    static_cast<LinearForceModel&>(*engine.getForceModel()).setRandomForce(Vector3(0.1f, 0.1f, 0.1f));
    mEmitter->setUseRandomForce(true);
    startAll();
    runFrames(engine, 60, 120); // warm up: the oldest particles have died and been replaced
    const unsigned int slots = engine.getParticleData().getSlotCount();

    VeltaTest::AllocationCounter allocations;
    runFrames(engine, 60, 600);
    EXPECT_EQ(allocations.getCount(), 0u);
    // Up to 400 ms of particles at 200 a second live at once.
    EXPECT_LE(engine.getParticleData().getSlotCount(), slots + 5);
    EXPECT_LE(slots, 90u);
}

TEST_F(ParticleEngineTest, TheGeometryDrawsAndBoundsTheLiveParticlesOnly)
{
    makeEngine(0, 0, 0);
    ParticleData& data = mEngines.back()->getParticleData();
    const GeometryData& geometry = static_cast<const GeometryData&>(*data.getGeometryData());
    EXPECT_EQ(data.updateData(0), 0u);
    EXPECT_EQ(geometry.getBoundingVolume()->getState(), BoundingVolume::EMPTY);

    data.addParticle(Vector3(1, 2, 3), 0);
    data.addParticle(Vector3(-50, 50, 0), 0);
    data.addParticle(Vector3(-1, 0, 9), 0);
    data.setParticle(1);
    data.deleteParticle();
    EXPECT_EQ(data.updateData(0), 2u);
    SceneTest::expectBox(*geometry.getBoundingVolume(), Point(-1, 0, 3), Point(1, 2, 9));
    const auto& points = dynamic_cast<const IndexElementData&>(*geometry.getGroup(0)->getElementList(0).get(0));
    EXPECT_EQ(points.getElementType(), GeometryElement::POINTS);
    ASSERT_EQ(points.getIndexList().getCount(), 2u);
    EXPECT_EQ(points.getIndexList().getIndex(1), 2u);
}

TEST_F(ParticleEngineTest, ABurntOutEffectRunsUntilItsLastParticleHasDied)
{
    ParticleEngine& engine = makeEngine(100, 200, 200);
    startAll();
    runFrames(engine, 50, 5); // 100 ms of particles
    const unsigned int alive = engine.getParticleData().getParticleCount();
    EXPECT_GT(alive, 0u);

    engine.stop(true);
    runFrames(engine, 50, 10); // the last ones die 200 ms after birth
    EXPECT_TRUE(engine.isRunning());
    EXPECT_TRUE(engine.isBurnOut());
    EXPECT_LE(engine.getParticleData().getParticleCount(), alive);
    runFrames(engine, 50, 1);
    EXPECT_FALSE(engine.isRunning());
    EXPECT_FALSE(engine.isBurnOut());
    EXPECT_EQ(engine.getParticleData().getParticleCount(), 0u);
}

TEST_F(ParticleEngineTest, SeededEffectsRepeatAndStartInTheirCube)
{
    ParticleEngine& first = makeEngine(0, 0, 0);
    mEmitter->setInitPointCount(100);
    mEmitter->setCenter(Vector3(10, 20, 30));
    ParticleEngine& second = makeEngine(0, 0, 0);
    mEmitter->setInitPointCount(100);
    mEmitter->setCenter(Vector3(10, 20, 30));
    ParticleEngine& shell = makeEngine(0, 0, 0);
    mEmitter->setInitPointCount(100);
    mEmitter->setSphereSize(0.6f, 0.9f);
    startAll();

    const std::vector<Vector3> positions = livePositions(first.getParticleData());
    ASSERT_EQ(positions, livePositions(second.getParticleData()));
    for (const Vector3& p : positions) {
        EXPECT_LE(std::fabs(p.x() - 10), 0.05f + 1e-5f);
        EXPECT_LE(std::fabs(p.y() - 20), 0.05f + 1e-5f);
        EXPECT_LE(std::fabs(p.z() - 30), 0.05f + 1e-5f);
    }
    for (const Vector3& p : livePositions(shell.getParticleData())) {
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_GE(p[axis], 0.45f - 1e-5f);
            EXPECT_LE(p[axis], 0.75f + 1e-5f);
        }
    }
}

TEST_F(ParticleEngineTest, ForceModelsStepPositionsAndVelocities)
{
    auto* linear = new LinearForceModel();
    linear->setExtForce(Vector3(0, -2, 0));
    ParticleEngine& falling = makeEngine(0, 0, 0, linear);
    ParticleEngine& circling = makeEngine(0, 0, 0, new RotateForceModel());
    startAll();
    ParticleData& fall = falling.getParticleData();
    fall.addParticle(Vector3(0, 10, 0), 0);
    fall.setVelocity(Vector3(1, 0, 0));
    ParticleData& circle = circling.getParticleData();
    circle.addParticle(Vector3(0, 0, 2), 0);
    circle.setVelocity(Vector3(1, 0, 0));
    circle.addParticle(Vector3(0, 0.005f, 0), 0); // at the centre: stays
    circle.setVelocity(Vector3(1, 0, 0));

    mClock.advance(500);
    falling.update(mClock.getTimestamp());
    circling.update(mClock.getTimestamp());
    fall.setParticle(0);
    SceneTest::expectPoint(Point(fall.getPosition().x(), fall.getPosition().y(), fall.getPosition().z()), 0.5f, 10, 0);
    SceneTest::expectPoint(Point(fall.getVelocity().x(), fall.getVelocity().y(), fall.getVelocity().z()), 1, -1, 0);

    for (int frame = 0; frame < 50; ++frame) {
        mClock.advance(100);
        circling.update(mClock.getTimestamp());
    }
    circle.setParticle(0);
    EXPECT_NEAR(circle.getPosition().length(), 2.0f, 1e-4f);
    EXPECT_GT(circle.getPosition().x(), 0.0f);
    EXPECT_NEAR(circle.getVelocity().length(), 0.005f, 1e-6f);
    circle.setParticle(1);
    EXPECT_EQ(circle.getPosition(), Vector3(0, 0.005f, 0));
}

TEST_F(ParticleEngineTest, BadRatesAndAgeRangesAreReportedAndMadeHarmless)
{
    testing::internal::CaptureStderr();
    ParticleEngine& negative = makeEngine(-30, 0, 0);
    ParticleEngine& reversed = makeEngine(100, 400, 100);
    ParticleEngine& items = makeEngine(0, 0, 0, new RotateForceModel()); // the course's sparkles
    mEmitter->setInitPointCount(10);
    mEmitter->setSphereSize(0.6f, 0.9f);
    startAll();
    const long long born = mClock.getTimestamp() + 20;
    runFrames(negative, 50, 1);
    reversed.update(mClock.getTimestamp());
    items.update(mClock.getTimestamp());
    const std::string log = testing::internal::GetCapturedStderr();

    EXPECT_EQ(log, "Negative particle rate -30 per second: no particles are emitted\n"
                   "Particle age range 400 to 100 ms is upside down: ages from 100 to 400 ms are used\n");
    EXPECT_EQ(negative.getParticleData().getParticleCount(), 0u);
    ParticleData& data = reversed.getParticleData();
    ASSERT_EQ(data.getParticleCount(), 2u);
    data.setParticle(-1);
    while (data.nextParticle()) {
        EXPECT_GE(data.getMaxTime(), born + 100);
        EXPECT_LE(data.getMaxTime(), born + 400);
    }
    EXPECT_EQ(items.getParticleData().getParticleCount(), 10u);
}

#include "particles/ParticleData.h"

#include "geometry/GeometryData.h"
#include "geometry/GeometryDataGroup.h"
#include "geometry/IndexElementData.h"
#include "geometry/VertexData.h"
#include "scene/BoundingBox.h"

#include <algorithm>

namespace Velta {

namespace {

using Vector3 = CppLib::TVector<float, 3>;

/// Slots the storage starts with; it doubles when full.
const unsigned int INITIAL_SLOTS = 16;

} // namespace

ParticleData::ParticleData() : mGeometry(new GeometryData()), mVertices(new VertexData())
{
    mVertices->setUseTexCoordinates(true);
    mVertices->addTextureIndex(0);
    mGeometry->setIndexedVertexData(mVertices);
    mPoints = new IndexElementData(GeometryElement::POINTS, INITIAL_SLOTS, 0);
    mGeometry->createGroup().addElement(*mPoints);
    mBound = new BoundingBox();
    mGeometry->setBoundingVolume(mBound);
    initialize();
}

ParticleData::~ParticleData() = default;

void ParticleData::initialize()
{
    mVertices->initialize(static_cast<int>(INITIAL_SLOTS), 0);
    mPoints->getIndexList().initialize(static_cast<int>(INITIAL_SLOTS), 0);
    mParticles.clear();
    mFreeSlots.clear();
    mReserved = 0;
    mCurrent = -1;
    mBound->setEmpty();
}

unsigned int ParticleData::appendSlot()
{
    const unsigned int slot = mParticles.getSize();
    if (slot >= mReserved) {
        // Room for every slot in the free list too, so that killing
        // particles never allocates.
        mReserved = std::max(INITIAL_SLOTS, 2 * mReserved);
        mParticles.reserve(mReserved);
        mFreeSlots.reserve(mReserved);
    }
    mParticles.append(Particle());
    mVertices->addVertex(); // texture coordinate (0, 0)
    return slot;
}

unsigned int ParticleData::addParticle(const Vector3& position, long long deathTime)
{
    unsigned int slot;
    if (mFreeSlots.isEmpty()) {
        slot = appendSlot();
    } else {
        slot = mFreeSlots.get(static_cast<int>(mFreeSlots.getSize()) - 1);
        mFreeSlots.removeAt(static_cast<int>(mFreeSlots.getSize()) - 1);
    }
    mCurrent = static_cast<int>(slot);
    Particle& particle = mParticles[mCurrent];
    particle.active = true;
    particle.velocity = Vector3();
    particle.deathTime = deathTime;
    particle.size = 1.0f;
    setPosition(position);
    return slot;
}

bool ParticleData::setParticle(int index)
{
    if (index < 0) {
        mCurrent = -1;
        return true;
    }
    if (static_cast<unsigned int>(index) >= mParticles.getSize()) {
        return false;
    }
    mCurrent = index;
    return true;
}

bool ParticleData::nextParticle()
{
    for (unsigned int slot = static_cast<unsigned int>(mCurrent + 1); slot < mParticles.getSize(); ++slot) {
        if (mParticles[static_cast<int>(slot)].active) {
            mCurrent = static_cast<int>(slot);
            return true;
        }
    }
    mCurrent = -1;
    return false;
}

void ParticleData::deleteParticle()
{
    Particle* particle = current();
    // A slot is freed once: a second delete would hand it to two particles.
    if (particle && particle->active) {
        particle->active = false;
        mFreeSlots.append(static_cast<unsigned int>(mCurrent));
    }
}

bool ParticleData::isActive() const
{
    const Particle* particle = current();
    return particle && particle->active;
}

unsigned int ParticleData::getParticleCount(bool) const
{
    return mParticles.getSize() - mFreeSlots.getSize();
}

Vector3 ParticleData::positionOf(unsigned int slot) const
{
    const float* position = static_cast<const float*>(mVertices->getVertices()) + 3 * slot;
    return Vector3(position[0], position[1], position[2]);
}

void ParticleData::setPosition(const Vector3& position)
{
    if (mCurrent >= 0) {
        mVertices->setCurrentVertex(static_cast<unsigned int>(mCurrent));
        mVertices->setVertex(position.x(), position.y(), position.z());
    }
}

Vector3 ParticleData::getPosition() const
{
    return mCurrent >= 0 ? positionOf(static_cast<unsigned int>(mCurrent)) : Vector3();
}

void ParticleData::setVelocity(const Vector3& velocity)
{
    if (Particle* particle = current()) {
        particle->velocity = velocity;
    }
}

Vector3 ParticleData::getVelocity() const
{
    const Particle* particle = current();
    return particle ? particle->velocity : Vector3();
}

void ParticleData::setSize(float size)
{
    if (Particle* particle = current()) {
        particle->size = size;
    }
}

float ParticleData::getSize() const
{
    const Particle* particle = current();
    return particle ? particle->size : 0.0f;
}

void ParticleData::setMaxTime(long long deathTime)
{
    if (Particle* particle = current()) {
        particle->deathTime = deathTime;
    }
}

long long ParticleData::getMaxTime() const
{
    const Particle* particle = current();
    return particle ? particle->deathTime : 0;
}

void ParticleData::clear()
{
    mFreeSlots.clear();
    // Freed from the last slot down, so the first slots are reused first.
    for (unsigned int slot = mParticles.getSize(); slot-- > 0;) {
        mParticles[static_cast<int>(slot)].active = false;
        mFreeSlots.append(slot);
    }
    mCurrent = -1;
}

unsigned int ParticleData::updateData(long long)
{
    IndexData& points = mPoints->getIndexList();
    points.clear();
    const float* positions = static_cast<const float*>(mVertices->getVertices());
    float low[3] = {0.0f, 0.0f, 0.0f};
    float high[3] = {0.0f, 0.0f, 0.0f};
    for (unsigned int slot = 0; slot < mParticles.getSize(); ++slot) {
        if (!mParticles[static_cast<int>(slot)].active) {
            continue;
        }
        const float* position = positions + 3 * slot;
        for (int axis = 0; axis < 3; ++axis) {
            if (points.getCount() == 0 || position[axis] < low[axis]) {
                low[axis] = position[axis];
            }
            if (points.getCount() == 0 || position[axis] > high[axis]) {
                high[axis] = position[axis];
            }
        }
        points.addIndex(slot);
    }
    if (points.getCount() > 0) {
        mBound->set(Point(low[0], low[1], low[2]), Point(high[0], high[1], high[2]));
    } else {
        mBound->setEmpty();
    }
    mVertices->setModified();
    points.setModified();
    return points.getCount();
}

CppLib::SharedPtr<Geometry> ParticleData::getGeometryData() const
{
    return mGeometry;
}

} // namespace Velta

#include "water/Water.h"

#include "core/VeltaCore.h"
#include "geometry/GeometryData.h"
#include "geometry/GeometryDataGroup.h"
#include "geometry/GeometrySubobject.h"
#include "geometry/IndexedQuadStrip.h"
#include "geometry/VertexData.h"
#include "resource/Material.h"
#include "scene/BoundingBox.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace Velta {

namespace {

using Vector3 = CppLib::TVector<float, 3>;
using Matrix3 = CppLib::Matrix<float, 3>;

/// Corners closer to one line than this fraction of the quad's size span no
/// area worth mapping.
const float DEGENERATE = 1e-6f;

Matrix3 matrix3(float a, float b, float c, float d, float e, float f)
{
    const float rows[9] = {a, b, c, d, e, f, 0.0f, 0.0f, 1.0f};
    return Matrix3(rows);
}

/// The point's (x, z) through the affine map of the horizontal plane.
void mapPlane(const Matrix3& mapping, const Point& point, float& s, float& t)
{
    const Vector3 mapped = mapping * Vector3(point.x(), point.z(), 1.0f);
    s = mapped.x();
    t = mapped.y();
}

} // namespace

Water::LineSegment::LineSegment(Water& water, const CppLib::TVector<float, 4>& p1,
                                const CppLib::TVector<float, 4>& p2, const CppLib::TVector<float, 3>& velocity)
    : mWater(&water), mVelocity(velocity), mP1(p1), mP2(p2)
{
}

Water::LineSegment::~LineSegment() = default;

Water::QuadSegment::QuadSegment(Water& water, LineSegment& previous, unsigned int index,
                                const CppLib::TVector<float, 4>& p1, const CppLib::TVector<float, 4>& p2,
                                const CppLib::TVector<float, 3>& velocity)
    : LineSegment(water, p1, p2, velocity), mPrevious(&previous), mCorrection(0.0f, 0.0f, 1.0f), mIndex(index)
{
    buildMapping();
}

Water::QuadSegment::~QuadSegment() = default;

void Water::QuadSegment::buildMapping()
{
    const Point& a = mPrevious->getP1();
    const Point& b = mPrevious->getP2();
    const Point& c = getP1();
    const Point& d = getP2();

    // Move A to the origin and turn B onto the positive first axis; then
    // scale and shear so that B and C land on (1, 0) and (0, 1).
    const float angle = std::atan2(b.z() - a.z(), b.x() - a.x());
    const float cosine = std::cos(angle);
    const float sine = std::sin(angle);
    const Matrix3 toA = matrix3(1, 0, -a.x(), 0, 1, -a.z());
    const Matrix3 turn = matrix3(cosine, sine, 0, -sine, cosine, 0);
    float bx;
    float unused;
    float cx;
    float cy;
    mapPlane(turn * toA, b, bx, unused);
    mapPlane(turn * toA, c, cx, cy);

    const float size = std::max(bx, std::hypot(c.x() - a.x(), c.z() - a.z()));
    const bool degenerate = bx <= DEGENERATE * size || std::fabs(cy) <= DEGENERATE * size;
    float s3 = 0.0f;
    float t3 = 0.0f;
    if (!degenerate) {
        mMapping = matrix3(1.0f / bx, -cx / (bx * cy), 0, 0, 1.0f / cy, 0) * turn * toA;
        mapPlane(mMapping, d, s3, t3);
    }
    if (degenerate || !(s3 > 0.0f) || !(t3 > 0.0f)) {
        std::ostringstream message;
        message << "Invalid quad coordinates! Quad: " << mIndex << "; P3: " << s3 << "; " << t3;
        VeltaCore::getLogger("water")->error(message.str());
        return;
    }
    mCorrection = Vector3((t3 - 1.0f) / s3, (s3 - 1.0f) / t3, 1.0f);
    mValid = true;
}

bool Water::QuadSegment::getCoordinates(const Point& local, float& u, float& v) const
{
    if (!mValid) {
        return false;
    }
    float s;
    float t;
    mapPlane(mMapping, local, s, t);
    u = s / (mCorrection.y() * t + 1.0f);
    v = t / (mCorrection.x() * s + 1.0f);
    return u >= 0.0f && u <= 1.0f && v >= 0.0f && v <= 1.0f;
}

float Water::QuadSegment::getSurfaceHeight(float u, float v) const
{
    const Point& a = mPrevious->getP1();
    const Point& b = mPrevious->getP2();
    const float upstream = a.y() + u * (b.y() - a.y());
    const float downstream = getP1().y() + u * (getP2().y() - getP1().y());
    return upstream + v * (downstream - upstream);
}

Water::Water()
    : mGeometry(new GeometryData()), mMaterial(new Material()), mSubobject(std::make_unique<GeometrySubobject>())
{
    CppLib::SharedPtr<VertexData> vertices(new VertexData());
    vertices->setUseNormal(true);
    vertices->initialize(12, 12);
    mGeometry->setIndexedVertexData(vertices);
    mStrip = new IndexedQuadStrip(12);
    mGeometry->createGroup().addElement(*mStrip);
    mGeometry->setBoundingVolume(new BoundingBox());

    // A green-blue that the sun from above brightens to clear water, blended
    // at 60 %: the river bed below shows through.
    mMaterial->setUseMaterialColor(true);
    mMaterial->setUseDefaultVertexColor(true);
    mMaterial->setDefaultVertexColor(Color(0.03f, 0.33f, 0.48f, 1.0f));
    mMaterial->setUseBlending(true);
    mMaterial->setBlendMode(Material::BLEND_CONSTANT_ALPHA);
    mMaterial->setBlendColor(Color(0.03f, 0.33f, 0.48f, 0.6f));

    mSubobject->setGeometry(mGeometry, 0);
    mSubobject->setMaterial(0, mMaterial);
    attachChild(*mSubobject);
}

Water::~Water()
{
    // The sub-object leaves the water as it goes.
    mSubobject.reset();
    for (QuadSegment* quad : mQuads) {
        delete quad;
    }
}

void Water::initialize() {}

void Water::addQuad(const CppLib::TVector<float, 4>& p1, const CppLib::TVector<float, 4>& p2,
                    const CppLib::TVector<float, 3>& velocity)
{
    if (!mFirstLine) {
        mFirstLine = std::make_unique<LineSegment>(*this, p1, p2, velocity);
    } else {
        LineSegment* previous = mQuads.isEmpty() ? mFirstLine.get() : mQuads.get(mQuads.getSize() - 1);
        mQuads.append(new QuadSegment(*this, *previous, mQuads.getSize(), p1, p2, velocity));
    }
    addVertices(Point(p1), Point(p2));
}

void Water::addQuad(const CppLib::TVector<float, 4>& p1, const CppLib::TVector<float, 4>& p2, float speed)
{
    const CppLib::TVector<float, 4> direction = (p2 - p1).normalized();
    addQuad(p1, p2, Vector3(direction.z() * speed, 0.0f, -direction.x() * speed));
}

void Water::addVertices(const Point& p1, const Point& p2)
{
    mGeometry->getBoundingVolume()->expand(p1);
    mGeometry->getBoundingVolume()->expand(p2);

    VertexData& vertices = *mGeometry->getIndexedData(0);
    const unsigned int first = vertices.addVertex();
    vertices.setVertex(p1.x(), p1.y(), p1.z());
    vertices.setNormal(0.0f, 1.0f, 0.0f);
    vertices.addVertex();
    vertices.setVertex(p2.x(), p2.y(), p2.z());
    vertices.setNormal(0.0f, 1.0f, 0.0f);
    mStrip->addQuad(first, first + 1);

    vertices.setModified();
    mStrip->getIndexList().setModified();
    // The sub-object takes the grown bound in at the next update pass.
    mSubobject->setGeometry(mGeometry, 0);
}

Water::PointHandle Water::getPointHandle(const CppLib::TVector<float, 4>& world) const
{
    const Point local(getTransformedNode().getInverseWorldTransformation() * world);
    Point surface = local;
    for (QuadSegment* quad : mQuads) {
        float u;
        float v;
        if (quad->getCoordinates(local, u, v)) {
            surface.y() = quad->getSurfaceHeight(u, v);
            return PointHandle(quad, local, surface, Point(world), u, v);
        }
    }
    return PointHandle(nullptr, local, surface, Point(world), 0.0f, 0.0f);
}

float Water::getDepth(const Point& world) const
{
    return getDepth(getPointHandle(world));
}

float Water::getDepth(const PointHandle& handle) const
{
    return handle.hasQuad() ? DEPTH : -1.0f;
}

float Water::getDistance(const Point& world) const
{
    return getDistance(getPointHandle(world));
}

float Water::getDistance(const PointHandle& handle) const
{
    if (!handle.hasQuad()) {
        return 0.0f;
    }
    const float distance = (getSurfacePoint(handle) - handle.getOrigPoint()).length();
    return handle.getLocalPoint().y() < handle.getLocalSurfacePoint().y() ? -distance : distance;
}

Point Water::getSurfacePoint(const Point& world) const
{
    return getSurfacePoint(getPointHandle(world));
}

Point Water::getSurfacePoint(const PointHandle& handle) const
{
    if (!handle.hasQuad()) {
        return handle.getOrigPoint();
    }
    return Point(getTransformedNode().getWorldTransformation() * handle.getLocalSurfacePoint());
}

CppLib::TVector<float, 3> Water::getNormal(const Point&) const
{
    return Vector3(0.0f, 1.0f, 0.0f);
}

CppLib::TVector<float, 3> Water::getNormal(const PointHandle&) const
{
    return Vector3(0.0f, 1.0f, 0.0f);
}

CppLib::TVector<float, 3> Water::getVelocity(const Point& world) const
{
    return getVelocity(getPointHandle(world));
}

CppLib::TVector<float, 3> Water::getVelocity(const PointHandle& handle) const
{
    const QuadSegment* quad = handle.getQuad();
    if (!quad) {
        return Vector3();
    }
    const Vector3& upstream = quad->getPrevious().getVelocity();
    return upstream + (quad->getVelocity() - upstream) * handle.getY();
}

CppLib::SharedPtr<Material> Water::getDefaultMaterial(unsigned int)
{
    return mMaterial;
}

} // namespace Velta

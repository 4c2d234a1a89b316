#pragma once

#include "VeltaExport.h"
#include "cpplib/Matrix.h"
#include "cpplib/Point.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/Vector.h"
#include "scene/ObjectNode.h"

#include <memory>

namespace Velta {

class GeometryData;
class GeometrySubobject;
class IndexedQuadStrip;
class Material;
class Terrain;

/// A river surface laid out as a chain of cross sections. Each addQuad()
/// adds one line across the river (two bank points and the flow there);
/// consecutive lines bound a four-sided quad. The water draws the chain as
/// one translucent quad strip and answers, for any point, whether it lies
/// over the water, the surface point above or below it, the signed distance
/// to the surface, the surface normal and the flow velocity.
///
/// A scene node like any other: owned by whoever created it; it owns its
/// cross sections, its geometry and the sub-object that shows them. Points
/// are world coordinates; the water takes them into its own frame by its
/// world transformation (as of the last update pass), and velocities are in
/// its own axes.
///
/// Several questions about one point cost one quad search when they go
/// through a PointHandle. A query allocates nothing either way.
class VELTA_EXPORT Water : public ObjectNode {
public:
    class QuadSegment;

    /// One cross section: two bank points (w = 1) and the flow velocity there.
    class VELTA_EXPORT LineSegment {
    public:
        /// The bank points are divided by their w; a w of 0 gives the origin.
        LineSegment(Water& water, const CppLib::TVector<float, 4>& p1, const CppLib::TVector<float, 4>& p2,
                    const CppLib::TVector<float, 3>& velocity);
        virtual ~LineSegment();

        LineSegment(const LineSegment&) = delete;
        LineSegment& operator=(const LineSegment&) = delete;

        Water& getWater() const { return *mWater; }
        const Point& getP1() const { return mP1; }
        const Point& getP2() const { return mP2; }
        const CppLib::TVector<float, 3>& getVelocity() const { return mVelocity; }

    private:
        Water* mWater;
        CppLib::TVector<float, 3> mVelocity;
        Point mP1;
        Point mP2;
    };

    /// The water between the previous cross section (A = its p1, B = its p2)
    /// and its own (C = p1, D = p2), seen from above. Its mapping takes the
    /// horizontal plane (x, z) affinely to coordinates where A, B and C are
    /// (0, 0), (1, 0) and (0, 1); a correction then takes D to (1, 1), so
    /// that a point's quad coordinates (u, v) run from 0 to 1 across and
    /// along the quad. v is 0 on the previous line and 1 on this one.
    class VELTA_EXPORT QuadSegment : public LineSegment {
    public:
        QuadSegment(Water& water, LineSegment& previous, unsigned int index, const CppLib::TVector<float, 4>& p1,
                    const CppLib::TVector<float, 4>& p2, const CppLib::TVector<float, 3>& velocity);
        ~QuadSegment() override;

        LineSegment& getPrevious() const { return *mPrevious; }
        unsigned int getIndex() const { return mIndex; }
        const CppLib::Matrix<float, 3>& getMapping() const { return mMapping; }

        /// (k1, k2, 1): the correction that takes D to (1, 1).
        const CppLib::TVector<float, 3>& getCorrection() const { return mCorrection; }

        /// False for a quad whose corners do not span a proper four-sided
        /// area in this order (banks given in reverse order, three corners
        /// on one line, a fold): such a quad is drawn but holds no points.
        bool isValid() const { return mValid; }

        /// The point's quad coordinates; true when it lies in the quad
        /// (borders included). Always false for an invalid quad.
        bool getCoordinates(const Point& local, float& u, float& v) const;

        /// Height of the surface at quad coordinates (u, v): the corners
        /// interpolated bilinearly.
        float getSurfaceHeight(float u, float v) const;

    private:
        void buildMapping();

        LineSegment* mPrevious;
        CppLib::Matrix<float, 3> mMapping;
        CppLib::TVector<float, 3> mCorrection;
        unsigned int mIndex;
        bool mValid = false;
    };

    /// What the water knows about one point: its quad (null off the water),
    /// the point in the water's frame, the surface point above or below it
    /// and its quad coordinates. Valid while the water keeps its quads and
    /// its place; ask again after the water moved.
    class VELTA_EXPORT PointHandle {
    public:
        /// A handle of a point off the water.
        PointHandle() = default;

        QuadSegment* getQuad() { return mQuad; }
        const QuadSegment* getQuad() const { return mQuad; }
        bool hasQuad() const { return mQuad != nullptr; }
        const Point& getLocalPoint() const { return mLocalPoint; }
        const Point& getLocalSurfacePoint() const { return mLocalSurfacePoint; }
        const Point& getOrigPoint() const { return mOrigPoint; }

        /// Quad coordinates across (x) and along (y) the river, 0 to 1.
        float getX() const { return mX; }
        float getY() const { return mY; }

    private:
        friend class Water;
        PointHandle(QuadSegment* quad, const Point& local, const Point& surface, const Point& orig, float x, float y)
            : mQuad(quad), mLocalPoint(local), mLocalSurfacePoint(surface), mOrigPoint(orig), mX(x), mY(y)
        {
        }

        QuadSegment* mQuad = nullptr;
        Point mLocalPoint;
        Point mLocalSurfacePoint;
        Point mOrigPoint;
        float mX = 0.0f;
        float mY = 0.0f;
    };

    /// Depth reported for any point over the water; there is no real depth model.
    static constexpr float DEPTH = 10.0f;

    /// An empty river (no cross sections) with its translucent blue material.
    /// Needs a started core.
    Water();
    ~Water() override;

    /// The valley the river runs through; kept for callers, not consulted.
    void setTerrain(Terrain& terrain) { mTerrain = &terrain; }
    Terrain* getTerrain() const { return mTerrain; }

    /// Nothing to do: the river is complete after its last addQuad().
    void initialize();

    /// Adds the next cross section downstream, from bank point p1 to p2,
    /// with the flow `velocity` there. From the second one on, each closes a
    /// quad with the one before; a quad that is not properly four-sided is
    /// reported on the "water" logger and holds no points.
    void addQuad(const CppLib::TVector<float, 4>& p1, const CppLib::TVector<float, 4>& p2,
                 const CppLib::TVector<float, 3>& velocity);

    /// The same with the flow `speed` (units per second) across the line:
    /// the velocity is horizontal, at right angles to p1 → p2, pointing to
    /// the left of that direction seen from above ((1, 0, 0) gives −z). A
    /// negative speed flows the other way.
    void addQuad(const CppLib::TVector<float, 4>& p1, const CppLib::TVector<float, 4>& p2, float speed);

    unsigned int getQuadCount() const { return mQuads.getSize(); }

    /// The quad at `index` in the order added, or null.
    QuadSegment* getQuad(unsigned int index) const { return mQuads.get(static_cast<int>(index)); }

    /// The first cross section, or null before the first addQuad().
    LineSegment* getFirstLine() const { return mFirstLine.get(); }

    /// Finds the point's quad (the first one that holds it) once.
    PointHandle getPointHandle(const CppLib::TVector<float, 4>& world) const;

    /// DEPTH over the water, −1 off it.
    float getDepth(const Point& world) const;
    float getDepth(const PointHandle& handle) const;

    /// Signed distance from the surface: positive above it, negative below,
    /// 0 off the water.
    float getDistance(const Point& world) const;
    float getDistance(const PointHandle& handle) const;

    /// The surface point above or below the point, in world coordinates; off
    /// the water the point itself.
    Point getSurfacePoint(const Point& world) const;
    Point getSurfacePoint(const PointHandle& handle) const;

    /// The surface is level: (0, 1, 0) everywhere.
    CppLib::TVector<float, 3> getNormal(const Point& world) const;
    CppLib::TVector<float, 3> getNormal(const PointHandle& handle) const;

    /// The flow at the point: the velocities of the quad's two cross
    /// sections mixed by how far along the quad it lies; zero off the water.
    CppLib::TVector<float, 3> getVelocity(const Point& world) const;
    CppLib::TVector<float, 3> getVelocity(const PointHandle& handle) const;

    /// The water's material, whatever the index.
    CppLib::SharedPtr<Material> getDefaultMaterial(unsigned int index) override;

    /// The drawn strip: one vertex per bank point, one quad per quad segment.
    CppLib::SharedPtr<GeometryData> getGeometry() const { return mGeometry; }

    /// The leaf that shows the strip (a child of the water).
    GeometrySubobject& getSubobject() const { return *mSubobject; }

private:
    void addVertices(const Point& p1, const Point& p2);

    Terrain* mTerrain = nullptr;
    CppLib::Vector<QuadSegment*> mQuads;
    std::unique_ptr<LineSegment> mFirstLine;
    CppLib::SharedPtr<GeometryData> mGeometry;
    CppLib::SharedPtr<Material> mMaterial;
    IndexedQuadStrip* mStrip = nullptr; ///< owned by the geometry's group
    std::unique_ptr<GeometrySubobject> mSubobject;
};

} // namespace Velta

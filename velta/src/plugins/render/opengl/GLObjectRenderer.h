#pragma once

#include "VeltaExport.h"
#include "cpplib/Matrix.h"
#include "cpplib/Point.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/Vector.h"
#include "resource/Material.h"

#include <vector>

namespace Velta {

class BoundingBox;
class Drawable;
class Frustrum;
class Geometry;
class GeometryGroup;
class GLMaterialManager;
class GLRenderContext;
class GeometryElement;
class IndexDataSet;
class Node;
class ObjectNode;
class RenderSettings;
class VertexDataSet;

/// Draws the drawables a view's walk queued: first the opaque ones with depth
/// writes, nearest first, then the blended ones farthest first without
/// depth writes. Each is drawn with its node's world matrix, element group by
/// element group, with the group's material applied and the vertex arrays
/// taken from buffer objects where the context uses them. Element groups
/// that know their bounds (GeometryGroup::getBounds) and lie outside the
/// view are left out; when all of an opaque drawable's groups know their
/// bounds, the nearer ones are drawn first.
///
/// Opaque drawables go by how far their bound reaches from the camera, so
/// that what stands in front is drawn before what it hides (the renderer
/// then skips the hidden fragments); equal reaches keep walk order. Opaque
/// point sprites come after the other opaque drawables. The picture is the
/// one walk order gives, except where opaque surfaces coincide.
///
/// Before a drawable is drawn it is told where the view's eye is
/// (Drawable::selectDetail), so that it can choose its detail.
///
/// One per view renderer; the queues keep their capacity across views, so
/// queueing and drawing allocate nothing once the largest view was drawn.
class VELTA_EXPORT GLObjectRenderer {
public:
    /// One queued drawable. The nodes must live until the view is drawn.
    struct Entry {
        ObjectNode* object;
        Node* node;
        Drawable* drawable;
        /// How far into the view the drawable's bound reaches.
        float distance;
        /// How far from the camera the drawable's bound reaches (opaque
        /// order); 0 when unknown.
        float reach;
    };

    GLObjectRenderer(GLRenderContext& context, GLMaterialManager& materialManager);
    virtual ~GLObjectRenderer();

    GLObjectRenderer(const GLObjectRenderer&) = delete;
    GLObjectRenderer& operator=(const GLObjectRenderer&) = delete;

    /// Starts a view drawn with `settings` (empty for none) through
    /// `frustrum` (null: nothing is culled or ordered by place): empty
    /// queues. The frustum must live until the view is drawn.
    void begin(const CppLib::SharedPtr<RenderSettings>& settings, const Frustrum* frustrum = nullptr);

    /// Queues `drawable` (the node `node`) of `object`: blended when the
    /// drawable's material 0, or else the object's default material 0, uses
    /// blending; opaque otherwise.
    void queue(ObjectNode& object, Node& node, Drawable& drawable, float distance);

    /// Uploads everything `drawable` may draw, seen or not: its vertex
    /// arrays, the index lists of all its groups' elements at every level of
    /// detail (GeometryGroup::collectAllElements) and its materials'
    /// textures, so that drawing it later creates and uploads nothing.
    void prepare(ObjectNode& object, Drawable& drawable);
    /// Makes room in the queues for every drawable prepared since the last
    /// call, so that no view of the prepared scenes grows them.
    void reserveForPrepared();
    /// Whether prepare() keeps the drawables for warmUp(); off after begin().
    void setKeepingForWarmUp(bool keep) { mKeepingForWarmUp = keep; }
    /// Draws every group of every drawable kept since begin() once, with its
    /// material and the view's lights and fog, where nothing shows (an empty
    /// scissor box); when one of them marks pixels, the opaque ones that
    /// clear marks once more, as they are drawn after it. A driver that
    /// builds code for each combination of state the first time it draws
    /// with it then does so now, rather than in the frame that first shows a
    /// new part of the scene.
    void warmUp();

    const std::vector<Entry>& getOpaqueQueue() const { return mOpaque; }
    const std::vector<Entry>& getBlendedQueue() const { return mBlended; }

    /// Draws the queues. Expects the camera matrix on top of the modelview
    /// stack (pushed once) and leaves it there.
    void draw();

private:
    void sortBlended();
    void sortOpaque();
    template <typename Item, typename Before>
    static void mergeSort(std::vector<Item>& items, std::vector<Item>& scratch, Before before);
    float getReach(Node& node) const;
    float getReach(const BoundingBox& box) const;
    void collectGroups(Geometry& geometry, const CppLib::Matrix<float, 4>& world, bool opaque);
    void drawEntry(const Entry& entry, bool opaque);
    /// Warms up the drawable's groups as drawn before the view has marks
    /// (`marked` false), or its groups that clear marks as drawn after
    /// (true). Answers whether one of them marks pixels.
    bool warmUp(ObjectNode& object, Drawable& drawable, bool marked);
    void bindArrays(VertexDataSet& data);
    void bindTexCoords(VertexDataSet& data);
    void drawElement(GeometryElement& element, VertexDataSet& data);
    void applyPolygonMode();
    void reportRefusedIndices(const IndexDataSet& indices);
    void checkErrors();

    GLRenderContext* mContext;
    GLMaterialManager* mMaterialManager;
    CppLib::SharedPtr<RenderSettings> mRenderSettings;
    const Frustrum* mFrustrum = nullptr;
    /// The view's eye point (world); valid with a frustum.
    Point mEye;
    std::vector<Entry> mOpaque;
    std::vector<Entry> mBlended;
    std::vector<Entry> mScratch;
    /// The groups of the drawable being drawn, in drawing order.
    struct PlacedGroup {
        GeometryGroup* group;
        unsigned int materialIndex;
        float reach;
    };
    std::vector<PlacedGroup> mGroups;
    std::vector<PlacedGroup> mGroupScratch;
    /// The vertex data whose arrays are bound; null when unknown.
    VertexDataSet* mBoundData = nullptr;
    /// What groups without a material of their own are drawn with.
    Material mDefaultMaterial;
    /// Scratch for prepare().
    CppLib::Vector<GeometryElement*> mAllElements;
    /// Drawables prepared since the last reserveForPrepared().
    size_t mPrepared = 0;
    /// Drawables prepared since begin(), for warmUp().
    struct PreparedDrawable {
        ObjectNode* object;
        Drawable* drawable;
    };
    std::vector<PreparedDrawable> mToWarmUp;
    bool mKeepingForWarmUp = false;
    /// OpenGL errors already logged, one bit per error code, and index
    /// lists already reported, so that nothing is logged every frame.
    unsigned int mReportedErrors = 0;
    std::vector<const IndexDataSet*> mReportedIndices;
};

} // namespace Velta

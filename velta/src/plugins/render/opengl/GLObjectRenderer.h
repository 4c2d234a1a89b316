#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "resource/Material.h"

#include <vector>

namespace Velta {

class Drawable;
class GLMaterialManager;
class GLRenderContext;
class GeometryElement;
class IndexDataSet;
class Node;
class ObjectNode;
class RenderSettings;
class VertexDataSet;

/// Draws the drawables a view's walk queued: first the opaque ones in walk
/// order with depth writes, then the blended ones farthest first without
/// depth writes. Each is drawn with its node's world matrix, element group by
/// element group, with the group's material applied and the vertex arrays
/// taken from buffer objects where the context uses them.
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
    };

    GLObjectRenderer(GLRenderContext& context, GLMaterialManager& materialManager);
    virtual ~GLObjectRenderer();

    GLObjectRenderer(const GLObjectRenderer&) = delete;
    GLObjectRenderer& operator=(const GLObjectRenderer&) = delete;

    /// Starts a view drawn with `settings` (empty for none): empty queues.
    void begin(const CppLib::SharedPtr<RenderSettings>& settings);

    /// Queues `drawable` (the node `node`) of `object`: blended when the
    /// drawable's material 0, or else the object's default material 0, uses
    /// blending; opaque otherwise.
    void queue(ObjectNode& object, Node& node, Drawable& drawable, float distance);

    const std::vector<Entry>& getOpaqueQueue() const { return mOpaque; }
    const std::vector<Entry>& getBlendedQueue() const { return mBlended; }

    /// Draws the queues. Expects the camera matrix on top of the modelview
    /// stack (pushed once) and leaves it there.
    void draw();

private:
    void sortBlended();
    void drawEntry(const Entry& entry);
    void bindArrays(VertexDataSet& data);
    void bindTexCoords(VertexDataSet& data);
    void drawElement(GeometryElement& element, VertexDataSet& data);
    void applyPolygonMode();
    void reportRefusedIndices(const IndexDataSet& indices);
    void checkErrors();

    GLRenderContext* mContext;
    GLMaterialManager* mMaterialManager;
    CppLib::SharedPtr<RenderSettings> mRenderSettings;
    std::vector<Entry> mOpaque;
    std::vector<Entry> mBlended;
    std::vector<Entry> mScratch;
    /// The vertex data whose arrays are bound; null when unknown.
    VertexDataSet* mBoundData = nullptr;
    /// What groups without a material of their own are drawn with.
    Material mDefaultMaterial;
    /// OpenGL errors already logged, one bit per error code, and index
    /// lists already reported, so that nothing is logged every frame.
    unsigned int mReportedErrors = 0;
    std::vector<const IndexDataSet*> mReportedIndices;
    bool mReportedUnits = false;
};

} // namespace Velta

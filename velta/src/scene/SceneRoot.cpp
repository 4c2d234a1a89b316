#include "scene/SceneRoot.h"

#include "scene/Branch.h"
#include "scene/Frustrum.h"
#include "scene/UpdateTraverser.h"
#include "scene/View.h"

namespace Velta {

SceneRoot::SceneRoot(int sceneId) : mSceneId(sceneId), mRoot(new Branch())
{
    mRoot->getTransformedNode().getBoundingVolume().setInfinite();
    static_cast<Node*>(mRoot)->attachSceneRoot(*this);
    mUpdateTraverser = CppLib::SharedPtr<UpdateTraverser>(new UpdateTraverser(*this));
}

SceneRoot::~SceneRoot()
{
    mUpdateTraverser.setNull();
    delete mRoot;
}

CppLib::SharedPtr<View> SceneRoot::getView(CppLib::SharedPtr<Frustrum> frustrum,
                                           CppLib::SharedPtr<RenderSettings> settings)
{
    return CppLib::SharedPtr<View>(new View(*this, frustrum, settings));
}

bool SceneRoot::attachNode(Node&)
{
    ++mNodeCount;
    return true;
}

bool SceneRoot::detachNode(Node&)
{
    --mNodeCount;
    return true;
}

} // namespace Velta

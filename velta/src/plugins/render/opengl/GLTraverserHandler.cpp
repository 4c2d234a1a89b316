#include "plugins/render/opengl/GLTraverserHandler.h"

#include "plugins/render/opengl/GLObjectRenderer.h"
#include "plugins/render/opengl/GLSceneManager.h"
#include "scene/Drawable.h"
#include "scene/Light.h"
#include "scene/ObjectNode.h"

namespace Velta {

GLTraverserHandler::GLTraverserHandler(GLSceneManager& sceneManager, GLObjectRenderer& objectRenderer)
    : mSceneManager(&sceneManager), mObjectRenderer(&objectRenderer)
{
}

GLTraverserHandler::~GLTraverserHandler() = default;

void GLTraverserHandler::begin(View::ViewFilter* filter)
{
    mViewFilter = filter;
    mCurrentObject = nullptr;
    mPreparing = false;
}

void GLTraverserHandler::beginPreparing()
{
    begin(nullptr);
    mPreparing = true;
}

void GLTraverserHandler::reset(Node&)
{
    mCurrentObject = nullptr;
}

Traverser::StatusResult GLTraverserHandler::handle(Node& node, Direction direction, Node* previous)
{
    if (direction == UP) {
        if (&node == mCurrentObject) {
            mCurrentObject = nullptr;
        }
        return CONTINUE;
    }
    // Entering the first child of an object node makes it the object whose
    // drawables follow.
    if (direction == DOWN && previous && !mCurrentObject && previous->getNodeType() == Node::OBJECT) {
        mCurrentObject = dynamic_cast<ObjectNode*>(previous);
    }
    switch (node.getNodeType()) {
    case Node::LIGHT:
        if (mPreparing) {
            break;
        }
        if (auto* light = dynamic_cast<Light*>(&node)) {
            mSceneManager->addLight(*light);
        }
        break;
    case Node::OBJECT:
        if (mCurrentObject) {
            if (auto* drawable = dynamic_cast<Drawable*>(&node)) {
                if (mPreparing) {
                    mObjectRenderer->prepare(*mCurrentObject, *drawable);
                    break;
                }
                const float distance = mViewFilter ? mViewFilter->getLastDistance() : 0.0f;
                mObjectRenderer->queue(*mCurrentObject, node, *drawable, distance);
            }
        }
        break;
    default:
        break;
    }
    return CONTINUE;
}

} // namespace Velta

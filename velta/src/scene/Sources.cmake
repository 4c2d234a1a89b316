# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  scene/BoundingBox.h scene/BoundingBox.cpp
  scene/BoundingFilter.h scene/BoundingFilter.cpp
  scene/BoundingVolume.h scene/BoundingVolume.cpp
  scene/Branch.h scene/Branch.cpp
  scene/Camera.h scene/Camera.cpp
  scene/CameraSettings.h scene/CameraSettings.cpp
  scene/Drawable.h scene/Drawable.cpp
  scene/Frustrum.h scene/Frustrum.cpp
  scene/Group.h scene/Group.cpp
  scene/Leaf.h scene/Leaf.cpp
  scene/Light.h scene/Light.cpp
  scene/MetaCamera.h scene/MetaCamera.cpp
  scene/Node.h scene/Node.cpp
  scene/ObjectNode.h scene/ObjectNode.cpp
  scene/Overlay.h scene/Overlay.cpp
  scene/Plane.h
  scene/SceneGraph.h scene/SceneGraph.cpp
  scene/SceneManager.h scene/SceneManager.cpp
  scene/SceneRoot.h scene/SceneRoot.cpp
  scene/Transformation.h scene/Transformation.cpp
  scene/TransformationNode.h scene/TransformationNode.cpp
  scene/TransformedNode.h scene/TransformedNode.cpp
  scene/Traverser.h scene/Traverser.cpp
  scene/UpdateTraverser.h scene/UpdateTraverser.cpp
  scene/View.h scene/View.cpp
)

# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  geometry/AbstractGeometryData.h geometry/AbstractGeometryData.cpp
  geometry/DataSet.h geometry/DataSet.cpp
  geometry/DataType.h geometry/DataType.cpp
  geometry/ElementData.h geometry/ElementData.cpp
  geometry/Geometry.h geometry/Geometry.cpp
  geometry/GeometryElement.h geometry/GeometryElement.cpp
  geometry/GeometryManager.h geometry/GeometryManager.cpp
  geometry/IndexData.h geometry/IndexData.cpp
  geometry/IndexDataSet.h geometry/IndexDataSet.cpp
  geometry/IndexedQuadStrip.h geometry/IndexedQuadStrip.cpp
  geometry/IndexedQuads.h geometry/IndexedQuads.cpp
  geometry/IndexedTriangleStrip.h geometry/IndexedTriangleStrip.cpp
  geometry/IndexedTriangles.h geometry/IndexedTriangles.cpp
  geometry/IndexElement.h geometry/IndexElement.cpp
  geometry/IndexElementData.h geometry/IndexElementData.cpp
  geometry/InterleavedVertexData.h geometry/InterleavedVertexData.cpp
  geometry/InterleavedVertexDataSet.h geometry/InterleavedVertexDataSet.cpp
  geometry/VertexData.h geometry/VertexData.cpp
  geometry/VertexDataSet.h geometry/VertexDataSet.cpp
  geometry/VertexElement.h geometry/VertexElement.cpp
  geometry/VertexElementData.h geometry/VertexElementData.cpp
)

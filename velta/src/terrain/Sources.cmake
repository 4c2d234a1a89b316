# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  terrain/HeightField.h terrain/HeightField.cpp
  terrain/Terrain.h terrain/Terrain.cpp
  terrain/TerrainBlock.h terrain/TerrainBlock.cpp
  terrain/TerrainBlockPart.h terrain/TerrainBlockPart.cpp
  terrain/TerrainCoverage.h terrain/TerrainCoverage.cpp
  terrain/TerrainPatch.h terrain/TerrainPatch.cpp
  terrain/TerrainTile.h terrain/TerrainTile.cpp
)

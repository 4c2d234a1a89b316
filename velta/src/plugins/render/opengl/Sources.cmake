# Sources of this folder, relative to velta/src.
list(APPEND VELTA_FILES
  plugins/render/opengl/GLCapabilities.h plugins/render/opengl/GLCapabilities.cpp
  plugins/render/opengl/GLMaterialManager.h plugins/render/opengl/GLMaterialManager.cpp
  plugins/render/opengl/GLObjectRenderer.h plugins/render/opengl/GLObjectRenderer.cpp
  plugins/render/opengl/GLRenderContext.h plugins/render/opengl/GLRenderContext.cpp
  plugins/render/opengl/GLRenderEngine.h plugins/render/opengl/GLRenderEngine.cpp
  plugins/render/opengl/GLRenderPlugin.h plugins/render/opengl/GLRenderPlugin.cpp
  plugins/render/opengl/GLSceneManager.h plugins/render/opengl/GLSceneManager.cpp
  plugins/render/opengl/GLStateCache.h plugins/render/opengl/GLStateCache.cpp
  plugins/render/opengl/GLTraverserHandler.h plugins/render/opengl/GLTraverserHandler.cpp
  plugins/render/opengl/GLTypes.h plugins/render/opengl/GLTypes.cpp
  plugins/render/opengl/GLViewRenderer.h plugins/render/opengl/GLViewRenderer.cpp
  plugins/render/opengl/sdl/GLSDLRenderWindow.h plugins/render/opengl/sdl/GLSDLRenderWindow.cpp
)

pkg_check_modules(GL REQUIRED IMPORTED_TARGET gl)
pkg_check_modules(GLU REQUIRED IMPORTED_TARGET glu)
pkg_check_modules(GLEW REQUIRED IMPORTED_TARGET glew)
list(APPEND VELTA_LINK_LIBRARIES PkgConfig::GL PkgConfig::GLU PkgConfig::GLEW ${CMAKE_DL_LIBS})

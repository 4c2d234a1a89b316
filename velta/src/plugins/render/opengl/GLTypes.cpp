#include "plugins/render/opengl/GLTypes.h"

#include <GL/glew.h>
#include <GL/glu.h>

namespace Velta {

namespace {

void transpose(const CppLib::Matrix<float, 4>& m, GLfloat out[16])
{
    const float* in = m.getData();
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            out[column * 4 + row] = in[row * 4 + column];
        }
    }
}

} // namespace

unsigned int GLTypes::getType(DataType::Type type)
{
    switch (type) {
    case DataType::FLOAT:
        return GL_FLOAT;
    case DataType::DOUBLE:
        return GL_DOUBLE;
    case DataType::INT:
        return GL_INT;
    case DataType::BYTE:
        return GL_BYTE;
    case DataType::SHORT:
        return GL_SHORT;
    case DataType::BOOL:
        return GL_BOOL;
    case DataType::UNSIGNED_BYTE:
        return GL_UNSIGNED_BYTE;
    case DataType::UNSIGNED_SHORT:
        return GL_UNSIGNED_SHORT;
    case DataType::UNSIGNED_INT:
        return GL_UNSIGNED_INT;
    default:
        return GL_BYTE;
    }
}

unsigned int GLTypes::getPrimitive(GeometryElement::ElementType type)
{
    switch (type) {
    case GeometryElement::TRIANGLES:
        return GL_TRIANGLES;
    case GeometryElement::QUADS:
        return GL_QUADS;
    case GeometryElement::POINTS:
        return GL_POINTS;
    case GeometryElement::LINES:
        return GL_LINES;
    case GeometryElement::LINE_LOOP:
        return GL_LINE_LOOP;
    case GeometryElement::LINE_STRIP:
        return GL_LINE_STRIP;
    case GeometryElement::TRIANGLE_STRIP:
        return GL_TRIANGLE_STRIP;
    case GeometryElement::QUAD_STRIP:
        return GL_QUAD_STRIP;
    case GeometryElement::TRIANGLE_FAN:
        return GL_TRIANGLE_FAN;
    case GeometryElement::POLYGON:
        return GL_POLYGON;
    default:
        return GL_POINTS;
    }
}

bool GLTypes::getPixelFormat(Color::Format format, unsigned int channels, unsigned int& internalFormat,
                             unsigned int& pixelFormat)
{
    struct Layout {
        Color::Format format;
        GLenum internalFormat;
        GLenum pixelFormat;
        unsigned int channels;
    };
    static const Layout LAYOUTS[] = {
        {Color::SINGLE_CHANNEL, GL_LUMINANCE, GL_LUMINANCE, 1}, {Color::LUMINANCE, GL_LUMINANCE, GL_LUMINANCE, 1},
        {Color::RGB, GL_RGB, GL_RGB, 3},                        {Color::RGBA, GL_RGBA, GL_RGBA, 4},
        {Color::BGR, GL_RGB, GL_BGR, 3},                        {Color::BGRA, GL_RGBA, GL_BGRA, 4},
    };
    for (const Layout& layout : LAYOUTS) {
        if (layout.format == format) {
            internalFormat = layout.internalFormat;
            pixelFormat = layout.pixelFormat;
            return channels == layout.channels;
        }
    }
    return false;
}

bool GLTypes::isPixelType(DataType::Type type)
{
    switch (type) {
    case DataType::FLOAT:
    case DataType::INT:
    case DataType::BYTE:
    case DataType::SHORT:
    case DataType::UNSIGNED_BYTE:
    case DataType::UNSIGNED_SHORT:
    case DataType::UNSIGNED_INT:
        return true;
    default:
        return false;
    }
}

void GLTypes::loadMatrix(const CppLib::Matrix<float, 4>& m)
{
    GLfloat columns[16];
    transpose(m, columns);
    glLoadMatrixf(columns);
}

void GLTypes::multMatrix(const CppLib::Matrix<float, 4>& m)
{
    GLfloat columns[16];
    transpose(m, columns);
    glMultMatrixf(columns);
}

const char* GLTypes::getErrorString(unsigned int error)
{
    const GLubyte* text = gluErrorString(error);
    return text ? reinterpret_cast<const char*>(text) : "unknown error";
}

} // namespace Velta

#pragma once

#include <GL/gl.h>
#include <array>

// The GL settings that last from one frame to the next: the engine saves and restores the GL
// state around each effect's frame, but effects also set the GL up outside it (at their Init
// events, when a picture loads) and those settings stay for everything drawn later. Taken with
// a saved demo state, so that putting it back draws the same next frame.
class GLSettings {
public:
    // Reads the settings of the current context.
    static GLSettings capture();
    // Makes them the current context's.
    void apply() const;

private:
    // The switches any effect turns.
    static constexpr std::array<GLenum, 11> switches{
        GL_ALPHA_TEST, GL_BLEND,     GL_CULL_FACE,    GL_DEPTH_TEST, GL_FOG,           GL_LIGHTING,
        GL_LIGHT1,     GL_NORMALIZE, GL_SCISSOR_TEST, GL_TEXTURE_2D, GL_COLOR_MATERIAL};

    using Matrix = std::array<GLfloat, 16>;
    Matrix projection{};
    Matrix modelview{};
    Matrix textureMatrix{};
    GLint matrixMode = GL_MODELVIEW;
    std::array<GLboolean, switches.size()> enabled{};
    GLint shadeModel = GL_SMOOTH;
    GLint depthFunc = GL_LESS;
    GLboolean depthMask = GL_TRUE;
    GLint perspectiveHint = GL_DONT_CARE;
    GLint blendSource = GL_ONE;
    GLint blendDestination = GL_ZERO;
    GLint alphaFunc = GL_ALWAYS;
    GLfloat alphaReference = 0.0f;
    GLint frontFace = GL_CCW;
    GLint cullFace = GL_BACK;
    GLint boundTexture = 0;
    std::array<GLfloat, 4> clearColor{};
    GLdouble clearDepth = 1.0;
    std::array<GLfloat, 4> color{};
    std::array<GLfloat, 3> normal{};
    std::array<GLint, 4> viewport{};
    std::array<GLint, 4> scissorBox{};
    std::array<GLboolean, 4> colorMask{};
    GLfloat lineWidth = 1.0f;
    GLfloat pointSize = 1.0f;
};

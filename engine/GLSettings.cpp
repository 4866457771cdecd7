#include "GLSettings.h"

GLSettings GLSettings::capture() {
    GLSettings s;
    glGetFloatv(GL_PROJECTION_MATRIX, s.projection.data());
    glGetFloatv(GL_MODELVIEW_MATRIX, s.modelview.data());
    glGetFloatv(GL_TEXTURE_MATRIX, s.textureMatrix.data());
    glGetIntegerv(GL_MATRIX_MODE, &s.matrixMode);
    for (std::size_t i = 0; i < switches.size(); ++i)
        s.enabled[i] = glIsEnabled(switches[i]);
    glGetIntegerv(GL_SHADE_MODEL, &s.shadeModel);
    glGetIntegerv(GL_DEPTH_FUNC, &s.depthFunc);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &s.depthMask);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &s.perspectiveHint);
    glGetIntegerv(GL_BLEND_SRC, &s.blendSource);
    glGetIntegerv(GL_BLEND_DST, &s.blendDestination);
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &s.alphaFunc);
    glGetFloatv(GL_ALPHA_TEST_REF, &s.alphaReference);
    glGetIntegerv(GL_FRONT_FACE, &s.frontFace);
    glGetIntegerv(GL_CULL_FACE_MODE, &s.cullFace);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &s.boundTexture);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, s.clearColor.data());
    glGetDoublev(GL_DEPTH_CLEAR_VALUE, &s.clearDepth);
    glGetFloatv(GL_CURRENT_COLOR, s.color.data());
    glGetFloatv(GL_CURRENT_NORMAL, s.normal.data());
    glGetIntegerv(GL_VIEWPORT, s.viewport.data());
    glGetIntegerv(GL_SCISSOR_BOX, s.scissorBox.data());
    glGetBooleanv(GL_COLOR_WRITEMASK, s.colorMask.data());
    glGetFloatv(GL_LINE_WIDTH, &s.lineWidth);
    glGetFloatv(GL_POINT_SIZE, &s.pointSize);
    return s;
}

void GLSettings::apply() const {
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(projection.data());
    glMatrixMode(GL_TEXTURE);
    glLoadMatrixf(textureMatrix.data());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(modelview.data());
    glMatrixMode(static_cast<GLenum>(matrixMode));
    for (std::size_t i = 0; i < switches.size(); ++i) {
        if (enabled[i])
            glEnable(switches[i]);
        else
            glDisable(switches[i]);
    }
    glShadeModel(static_cast<GLenum>(shadeModel));
    glDepthFunc(static_cast<GLenum>(depthFunc));
    glDepthMask(depthMask);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, static_cast<GLenum>(perspectiveHint));
    glBlendFunc(static_cast<GLenum>(blendSource), static_cast<GLenum>(blendDestination));
    glAlphaFunc(static_cast<GLenum>(alphaFunc), alphaReference);
    glFrontFace(static_cast<GLenum>(frontFace));
    glCullFace(static_cast<GLenum>(cullFace));
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(boundTexture));
    glClearColor(clearColor[0], clearColor[1], clearColor[2], clearColor[3]);
    glClearDepth(clearDepth);
    glColor4f(color[0], color[1], color[2], color[3]);
    glNormal3f(normal[0], normal[1], normal[2]);
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glScissor(scissorBox[0], scissorBox[1], scissorBox[2], scissorBox[3]);
    glColorMask(colorMask[0], colorMask[1], colorMask[2], colorMask[3]);
    glLineWidth(lineWidth);
    glPointSize(pointSize);
}

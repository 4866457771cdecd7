#include "QuadDrawing.h"

#include "GLTest.h"
#include "SphereBuilder.h"

#include <GL/gl.h>

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;

// Draws straight into the engine's window with a pixel-exact orthographic view: one unit per
// pixel, origin at the centre.
class QuadDrawing : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-320, 320, -240, 240, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glColor3f(1, 1, 1);
    }
};

TEST_F(QuadDrawing, FillsACentredSquareAndRectangle) {
    drawSquare(50);
    EXPECT_THAT(pixel(320, 240), ElementsAre(255, 255, 255));
    EXPECT_THAT(pixel(320 + 45, 240 - 45), ElementsAre(255, 255, 255));
    EXPECT_THAT(pixel(320 + 55, 240), ElementsAre(0, 0, 0));

    glClear(GL_COLOR_BUFFER_BIT);
    drawRect(100, 20);
    EXPECT_THAT(pixel(320 + 95, 240 + 15), ElementsAre(255, 255, 255));
    EXPECT_THAT(pixel(320, 240 + 25), ElementsAre(0, 0, 0));
}

// A 2 x 2 texture, red on the top row and blue on the bottom, as a picture is stored.
TEST_F(QuadDrawing, PutsTheTexturesFirstRowAtTheTopOfFilledShapes) {
    const unsigned char texels[] = {255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255};
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glEnable(GL_TEXTURE_2D);
    drawSquare(100);
    EXPECT_THAT(pixel(320, 240 + 50), ElementsAre(255, 0, 0));
    EXPECT_THAT(pixel(320, 240 - 50), ElementsAre(0, 0, 255));
    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(1, &texture);
}

TEST_F(QuadDrawing, OutlinesASquareWithoutFillingIt) {
    drawSquareOutline(50);
    EXPECT_THAT(pixel(320, 240), ElementsAre(0, 0, 0));
    int lit = 0;
    for (int y = 240 + 48; y <= 240 + 52; ++y)
        lit += pixel(320, y)[0] == 255;
    EXPECT_GE(lit, 1);
}

TEST_F(QuadDrawing, DrawsASphereAsOutwardQuads) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2, 2, -1.5, 1.5, -2, 2);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_CULL_FACE);
    const std::vector<Vertex> sphere = makeSphere(2, 1.0f);
    drawQuadList(sphere);
    EXPECT_THAT(centre(), ElementsAre(255, 255, 255));
    EXPECT_THAT(pixel(10, 10), ElementsAre(0, 0, 0));

    // The far face (z = -1) turns its back to the viewer and is culled; the near one is not.
    const std::size_t face = sphere.size() / 6;
    glClear(GL_COLOR_BUFFER_BIT);
    drawQuadList(std::span(sphere).first(face));
    EXPECT_THAT(centre(), ElementsAre(0, 0, 0));
    drawQuadList(std::span(sphere).subspan(face, face));
    EXPECT_THAT(centre(), ElementsAre(255, 255, 255));
}

} // namespace

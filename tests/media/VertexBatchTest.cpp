#include "VertexBatch.h"

#include "GLTest.h"

#include <GL/gl.h>
#include <array>
#include <functional>
#include <vector>

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;

class VertexBatchDrawing : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-320, 320, -240, 240, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glShadeModel(GL_SMOOTH);
    }

    // The whole frame after `draw`, from black and the same current colour every time.
    std::vector<unsigned char> frameOf(const std::function<void()>& draw) {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor4f(0.2f, 0.4f, 0.6f, 1.0f);
        draw();
        std::vector<unsigned char> rgb(640 * 480 * 3);
        glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    }

    static std::array<float, 4> current(GLenum which) {
        std::array<float, 4> value{};
        glGetFloatv(which, value.data());
        return value;
    }
};

// Shaded quads whose colour is first given after their first vertex (which keeps the current
// colour), a fan of triangles and lines: the same pixels as glBegin/glEnd draws.
TEST_F(VertexBatchDrawing, DrawsWhatImmediateModeDraws) {
    struct Corner {
        float x, y;
        float red, green;
    };
    const std::vector<Corner> corners{{-300, -200, 1, 0}, {-20, -210, 0, 1},    {-10, 10, 1, 1},
                                      {-290, 0, 0, 0},    {10, 20, 1, 0},       {290, 30, 0, 1},
                                      {300, 220, 1, 1},   {20, 230, 0.5f, 0.5f}};
    const auto immediate = [&] {
        glBegin(GL_QUADS);
        for (std::size_t i = 0; i < corners.size(); ++i) {
            if (i > 0)
                glColor3f(corners[i].red, corners[i].green, 0.5f);
            glVertex3f(corners[i].x, corners[i].y, 0.0f);
        }
        glEnd();
        glBegin(GL_TRIANGLES);
        glColor4f(0.0f, 0.0f, 1.0f, 1.0f);
        glVertex3f(-200, 100, 0);
        glVertex3f(-100, 100, 0);
        glVertex3f(-150, 200, 0);
        glEnd();
        glBegin(GL_LINES);
        glVertex3f(100, -100, 0);
        glVertex3f(250, -150, 0);
        glEnd();
    };
    const auto batched = [&] {
        VertexBatch quads(GL_QUADS);
        for (std::size_t i = 0; i < corners.size(); ++i) {
            if (i > 0)
                quads.color(corners[i].red, corners[i].green, 0.5f);
            quads.vertex(corners[i].x, corners[i].y, 0.0f);
        }
        quads.draw();
        VertexBatch triangle(GL_TRIANGLES);
        triangle.color(0.0f, 0.0f, 1.0f, 1.0f);
        triangle.vertex(-200, 100, 0);
        triangle.vertex(-100, 100, 0);
        triangle.vertex(-150, 200, 0);
        triangle.draw();
        VertexBatch line(GL_LINES);
        line.vertex(100, -100, 0);
        line.vertex(250, -150, 0);
        line.draw();
    };
    const std::vector<unsigned char> expected = frameOf(immediate);
    EXPECT_EQ(frameOf(batched), expected);
    // Not two empty frames.
    EXPECT_NE(frameOf([] {}), expected);
}

// Code after a batch may rely on the last colour, normal and texture coordinate given, as after
// glEnd; what the batch never gave stays as it was, and no vertex array is left switched on.
TEST_F(VertexBatchDrawing, LeavesTheCurrentAttributesAsGlEndWould) {
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    glNormal3f(0.0f, 1.0f, 0.0f);
    VertexBatch batch(GL_TRIANGLES);
    batch.texCoord(0.25f, 0.75f);
    batch.vertex(0, 0, 0);
    batch.color(1.0f, 0.5f, 0.25f);
    batch.vertex(10, 0, 0);
    batch.vertex(0, 10, 0);
    batch.draw();
    EXPECT_THAT(current(GL_CURRENT_COLOR), ElementsAre(1.0f, 0.5f, 0.25f, 1.0f));
    EXPECT_THAT(current(GL_CURRENT_NORMAL), ElementsAre(0.0f, 1.0f, 0.0f, 0.0f));
    EXPECT_THAT(current(GL_CURRENT_TEXTURE_COORDS), ElementsAre(0.25f, 0.75f, 0.0f, 1.0f));
    for (GLenum array : {GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY})
        EXPECT_FALSE(glIsEnabled(array)) << array;

    // An empty batch draws nothing and changes nothing.
    VertexBatch empty(GL_QUADS);
    empty.draw();
    EXPECT_THAT(current(GL_CURRENT_COLOR), ElementsAre(1.0f, 0.5f, 0.25f, 1.0f));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace

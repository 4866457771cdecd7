#include "Effect.h"
#include "GLTest.h"
#include "RecordingEffect.h"
#include "ScriptText.h"

#include <GL/gl.h>
#include <array>

#include <gmock/gmock.h>

namespace {

using ::testing::ElementsAre;

// What an effect finds when its render begins.
struct GLStateSeen {
    std::array<float, 16> modelview{}, projection{}, texture{};
    std::array<float, 4> colour{}, clearColour{};
    GLint matrixMode = 0;
    GLboolean blend = 0, depthTest = 0, texture2d = 0;

    bool operator==(const GLStateSeen&) const = default;
};

GLStateSeen currentState() {
    GLStateSeen state;
    glGetFloatv(GL_MODELVIEW_MATRIX, state.modelview.data());
    glGetFloatv(GL_PROJECTION_MATRIX, state.projection.data());
    glGetFloatv(GL_TEXTURE_MATRIX, state.texture.data());
    glGetFloatv(GL_CURRENT_COLOR, state.colour.data());
    glGetFloatv(GL_COLOR_CLEAR_VALUE, state.clearColour.data());
    glGetIntegerv(GL_MATRIX_MODE, &state.matrixMode);
    state.blend = glIsEnabled(GL_BLEND);
    state.depthTest = glIsEnabled(GL_DEPTH_TEST);
    state.texture2d = glIsEnabled(GL_TEXTURE_2D);
    return state;
}

// Changes everything it can reach and leaves it so.
void scrambleGLState() {
    glMatrixMode(GL_TEXTURE);
    glTranslatef(0.5f, 0.5f, 0.0f);
    glMatrixMode(GL_MODELVIEW);
    glRotatef(30.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glColor4f(0.2f, 0.4f, 0.6f, 0.8f);
    glClearColor(1.0f, 1.0f, 0.0f, 1.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
}

using RenderFrame = GLTest;

TEST_F(RenderFrame, AnEffectsGLStateEndsWithItsDrawing) {
    std::vector<std::string> log;
    RecordingEffect messy("Messy", log);
    RecordingEffect watcher("Watcher", log);
    std::vector<GLStateSeen> seen;
    messy.onRender = scrambleGLState;
    watcher.onRender = [&] { seen.push_back(currentState()); };
    loadScript(effectRecord("w", "Watcher", 2, "0", "0", "9") +
               effectRecord("m", "Messy", 1, "0", "1", "9"));

    clock->set(0);
    demo->renderFrame();
    const GLStateSeen afterFrame = currentState();
    clock->set(1);
    demo->renderFrame();
    demo->renderFrame();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen[1] == seen[0]);
    EXPECT_TRUE(seen[2] == seen[0]);
    EXPECT_TRUE(currentState() == afterFrame);
    EXPECT_EQ(seen[0].matrixMode, GL_MODELVIEW);
}

TEST_F(RenderFrame, IsBlackWithoutActiveEffects) {
    glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    loadScript("");
    demo->renderFrame();
    EXPECT_THAT(centre(), ElementsAre(0, 0, 0));
    EXPECT_THAT(pixel(0, 0), ElementsAre(0, 0, 0));
    EXPECT_THAT(pixel(639, 479), ElementsAre(0, 0, 0));
}

} // namespace

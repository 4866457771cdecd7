#include "SphereNormal.h"

#include "DemoSurface.h"
#include "EffectRules.h"
#include "PictureDrawing.h"
#include "SphereBuilder.h"
#include "TextureManager.h"
#include "VertexBatch.h"

#include <GL/gl.h>
#include <cmath>

SphereNormal::ProgramWide SphereNormal::programWide;

namespace {

constexpr float radii[3] = {0.5f, 3.0f, 6.0f};

// Spikes spring out once every this many sixtieths of a second.
constexpr float pulsePeriod = 200.0f;
constexpr int spikeSpacing = 64;

// The next vertex round the same quad.
std::size_t quadNeighbour(std::size_t i) {
    return i - i % 4 + (i + 1) % 4;
}

} // namespace

const SphereNormal::Pulse& SphereNormal::pulse() {
    return programWide.pulse;
}

void SphereNormal::resetPulse() {
    programWide.pulse = Pulse{};
}

bool SphereNormal::linesMode() {
    return programWide.lines;
}

void SphereNormal::load() {
    for (int s = 0; s < 3; ++s) {
        spheres[s] = makeSphere(sphereDepth, radii[s]);
        for (Vertex& vertex : spheres[s].edit())
            vertex.setBase(vertex);
    }
    programWide.lines = hasParameter(parameters, 0) && integerParameter(parameters[0]) == 1;
    texture = TextureManager::instance()->pictureOrFallback(pictureName(data, defaultPicture));
}

// A frame's spikes sit delta x 30 below the pulse size: half a unit at 60 frames a second. The
// size itself keeps its value, so it cannot drift when frames are not a sixtieth long.
float SphereNormal::stepPulse(float delta) {
    if (programWide.pulse.size > 1.0f)
        programWide.pulse.size -= perSecond(delta, 2.4f);
    programWide.pulse.tick += perSixtieth(delta, 1.0f);
    if (programWide.pulse.tick >= pulsePeriod) {
        programWide.pulse.tick = 0.0f;
        programWide.pulse.size = 1.5f;
        programWide.pulse.offset = programWide.pulse.offset == 0 ? 32 : 0;
    }
    return programWide.pulse.size - perSecond(delta, 30.0f);
}

// Every 64th vertex from the offset on: on the middle sphere with the rest of its quad, on the
// other two alone. The others keep wherever they were last put.
void SphereNormal::placeSpikes(float scale) {
    auto toScale = [scale](Vertex& vertex) {
        Vertex rest = vertex.base();
        rest.scale(scale);
        vertex.setPosition(rest);
    };
    std::vector<Vertex>& innerPoints = spheres[0].edit();
    std::vector<Vertex>& middlePoints = spheres[1].edit();
    std::vector<Vertex>& outerPoints = spheres[2].edit();
    for (std::size_t i = programWide.pulse.offset; i < middlePoints.size(); i += spikeSpacing) {
        for (std::size_t corner = 0; corner < 4 && i + corner < middlePoints.size(); ++corner)
            toScale(middlePoints[i + corner]);
        toScale(innerPoints[i]);
        toScale(outerPoints[i]);
    }
}

void SphereNormal::drawLines(float phase) const {
    const std::size_t n = inner().size();
    VertexBatch batch(GL_LINES);
    for (std::size_t i = 0; i < n; ++i) {
        const float share = static_cast<float>(i) / n;
        batch.color(share + 0.1f, 0.5f * std::sin(phase) + 0.1f, std::sin(share + phase) + 0.1f,
                    0.02f);
        batch.texturedVertex(inner()[i]);
        batch.texturedVertex(middle()[i]);
    }
    batch.draw();
}

// Each inner vertex joined to the matching middle vertex and the next one round the middle
// quad: the four triangles of a quad wall in a cell from the small quad out to the large one.
// Wound so that a cell's walls face the viewer who looks into it from outside: the ball shows
// as a solid shell of cells, each spike a cell pulled in or pushed out. The outer sphere moves
// with the spikes but is not drawn.
void SphereNormal::drawCells() const {
    const std::size_t n = inner().size();
    VertexBatch batch(GL_TRIANGLES);
    for (std::size_t i = 0; i < n; ++i) {
        if (i % 4 == 0)
            batch.color(1.0f, 0.0f, 0.0f, 0.1f);
        else if (i % 4 == 2)
            batch.color(0.0f, 0.0f, 1.0f, 0.1f);
        else
            batch.color(1.0f, 1.0f, 0.0f, 0.1f);
        batch.texturedVertex(middle()[i]);
        batch.texturedVertex(middle()[quadNeighbour(i)]);
        batch.texturedVertex(inner()[i]);
    }
    batch.draw();
}

void SphereNormal::render() {
    if (!texture)
        load();
    const float delta = frameDelta();
    bindPicture(*texture);
    glClear(GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glDisable(GL_BLEND);
    if (programWide.lines) {
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
    }
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    demoSurface().setLineWidth(2.0f);
    glTranslatef(0.0f, 0.0f, -12.0f);
    if (!programWide.lines)
        programWide.spinA += perSixtieth(delta, 1.0f);
    glRotatef(programWide.spinA, 1.0f, 1.0f, 1.0f);
    programWide.spinB += perSixtieth(delta, 2.0f);
    if (!programWide.lines) {
        const float swell = 1.0f + 0.5f * std::sin(0.01f * programWide.spinB);
        glScalef(swell, swell, swell);
        glTranslatef(-2.0f, 1.0f, -1.0f);
    }
    glRotatef(programWide.spinB, 0.3f, 1.4f, 1.0f);
    programWide.colourPhase += perSecond(delta, 0.3f);
    if (programWide.lines) {
        programWide.colourPhase += perSecond(delta, 0.6f);
        drawLines(programWide.colourPhase);
        return;
    }
    placeSpikes(stepPulse(delta));
    drawCells();
}

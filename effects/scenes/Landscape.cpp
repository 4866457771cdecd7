#include "Landscape.h"

#include "PictureDrawing.h"
#include "Random.h"
#include "TextureManager.h"
#include "VertexArray.h"
#include "VertexBatch.h"

#include <GL/gl.h>

Landscape::ProgramWide Landscape::programWide;

namespace {

constexpr unsigned terrainSeed = 100;
constexpr float peakHeight = 5.0f;
// Lower hills are levelled, leaving flat ground with islands.
constexpr float lowestHill = 0.5f;
constexpr float gridStart = -15.0f;
constexpr float gridStep = 30.0f / 32.0f;
constexpr float texStep = 1.0f / 32.0f;

int at(int row, int column) {
    return row * Landscape::columns + column;
}

} // namespace

float Landscape::cameraPosition() {
    return programWide.cameraZ;
}

void Landscape::setCameraPosition(float z) {
    programWide.cameraZ = z;
}

std::vector<float> Landscape::terrainHeights() {
    seedRandom(terrainSeed);
    std::vector<float> h(pointCount);
    for (float& height : h)
        height = rand01() * peakHeight;
    for (int k = 0; k < rows; ++k) {
        h[at(k, 0)] = 0.0f;
        h[at(k, columns - 1)] = 0.0f;
    }
    for (int l = 0; l < columns; ++l) {
        h[at(0, l)] = 0.0f;
        h[at(rows - 1, l)] = 0.0f;
    }
    // In place: the neighbours above and to the left are already smoothed.
    for (int k = 1; k < rows - 1; ++k) {
        for (int l = 1; l < columns - 1; ++l)
            h[at(k, l)] =
                (h[at(k + 1, l)] + h[at(k - 1, l)] + h[at(k, l + 1)] + h[at(k, l - 1)]) * 0.25f;
    }
    for (float& height : h) {
        if (height < lowestHill)
            height = 0.0f;
    }
    return h;
}

void Landscape::init() {
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

// Positions and texture coordinates step in single precision along the row and the column.
void Landscape::build() {
    heights = terrainHeights();
    vertices = makeVertexArray(pointCount);
    float z = gridStart;
    float v = 0.0f;
    for (int k = 0; k < rows; ++k) {
        float x = gridStart;
        float u = 0.0f;
        for (int l = 0; l < columns; ++l) {
            Vertex& vertex = vertices[at(k, l)];
            vertex.setPosition(x, heights[at(k, l)] + groundLevel, z);
            vertex.setTexCoord(u, v);
            x += gridStep;
            u += texStep;
        }
        z += gridStep;
        v += texStep;
    }
    init();
}

void Landscape::drawPass(float sign) const {
    VertexBatch batch(GL_TRIANGLES);
    const auto send = [&](int index) {
        const Vertex& vertex = vertices[index];
        batch.texCoord(vertex.u, vertex.v);
        batch.vertex(sign * vertex.x, sign * vertex.y, sign * vertex.z);
    };
    for (int k = 0; k + 1 < rows; ++k) {
        for (int l = 0; l + 1 < columns; ++l) {
            send(at(k, l));
            send(at(k + 1, l));
            send(at(k + 1, l + 1));
            send(at(k, l));
            send(at(k + 1, l + 1));
            send(at(k, l + 1));
        }
    }
    batch.draw();
}

void Landscape::render() {
    glClear(GL_DEPTH_BUFFER_BIT);
    if (vertices.empty())
        build();
    programWide.cameraZ += 0.03f;
    glLoadIdentity();
    glTranslatef(1.0f, 0.0f, programWide.cameraZ - 20.0f);
    if (!texture)
        texture = TextureManager::instance()->pictureOrFallback(std::string(picture));
    bindPicture(*texture);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glFrontFace(GL_CCW);
    drawPass(1.0f);
    // The reflection turns the winding round; the same faces stay facing the viewer.
    glFrontFace(GL_CW);
    drawPass(-1.0f);
}

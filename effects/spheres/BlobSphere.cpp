#include "BlobSphere.h"

#include "EffectRules.h"
#include "PictureDrawing.h"
#include "SphereBuilder.h"
#include "TextureManager.h"
#include "VertexBatch.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <numbers>

BlobSphere::ProgramWide BlobSphere::programWide;

namespace {

constexpr int sphereDepth = 3;
constexpr float largeRadius = 2.7f;
constexpr float smallRadius = 0.7f;

// The bulged surface is drawn at the second triples; the position still serves as the normal.
void emitBulged(VertexBatch& batch, const Vertex& vertex) {
    batch.normal(vertex.x, vertex.y, vertex.z);
    batch.texCoord(vertex.u, vertex.v);
    batch.vertex(vertex.bx, vertex.by, vertex.bz);
}

} // namespace

void BlobSphere::init() {
    x = -5.0f;
    xLimit = -1.0f;
    xSpeed = 0.1f;
}

void BlobSphere::load() {
    large = makeSphere(sphereDepth, largeRadius);
    small = makeSphere(sphereDepth, smallRadius);
    texture = TextureManager::instance()->pictureOrFallback(pictureName(data, defaultPicture));
}

void BlobSphere::slide(float delta) {
    if (x < xLimit)
        x += perSixtieth(delta, xSpeed);
}

void BlobSphere::blobStep(float delta) {
    programWide.phaseA += perSecond(delta, 1.2f);
    programWide.phaseB += perSecond(delta, 0.6f);
    const float pi = std::numbers::pi_v<float>;
    const Vertex first(std::sin(programWide.phaseA), std::cos(programWide.phaseA),
                       2.7f * std::cos(programWide.phaseB));
    const Vertex second(2.0f * std::sin(programWide.phaseB + pi),
                        2.7f * std::cos(programWide.phaseB + pi), std::cos(programWide.phaseA));
    const std::size_t count = std::min(large.size(), small.size());
    for (std::size_t i = 0; i < count; ++i) {
        const Vertex& s = small[i];
        Vertex& l = large[i];
        l.bx = std::max({l.x, s.x + first.x, s.x + second.x});
        l.by = std::max({l.y, s.y + first.y, s.y + second.y});
        l.bz = std::max({l.z, s.z + first.z, s.z + second.z});
    }
}

void BlobSphere::drawSolid() const {
    VertexBatch batch(GL_QUADS);
    for (const Vertex& vertex : large)
        emitBulged(batch, vertex);
    batch.draw();
}

// The same vertices as lines: each quad gives two of its edges.
void BlobSphere::drawWire() const {
    VertexBatch batch(GL_LINES);
    for (const Vertex& vertex : large)
        emitBulged(batch, vertex);
    batch.draw();
}

void BlobSphere::render() {
    if (!texture)
        load();
    const float delta = frameDelta();
    glClear(GL_DEPTH_BUFFER_BIT);
    bindPicture(*texture);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glLoadIdentity();
    slide(delta);
    glTranslatef(x, -1.0f, -8.0f);
    glFrontFace(GL_CCW);
    programWide.spin += perSixtieth(delta, 1.0f);
    glRotatef(programWide.spin, 1.0f, 1.0f, 1.0f);

    blobStep(delta);
    // Alpha 0: the solid pass is opaque unless someone left blending on.
    glColor4f(1.0f, 1.0f, 1.0f, 0.0f);
    drawSolid();

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(1.0f, 1.0f, 1.0f, (std::sin(0.02f * programWide.spin) + 1.0f) * 0.1f);
    drawWire();
}

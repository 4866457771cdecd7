#include "Tunnel.h"

#include "EffectRules.h"
#include "PictureDrawing.h"
#include "TextureManager.h"
#include "VertexArray.h"
#include "VertexBatch.h"

#include <GL/gl.h>
#include <cmath>

Tunnel::ProgramWide Tunnel::programWide;

namespace {

constexpr float baseRadius = 2.5f;
constexpr float rippleHeight = 1.5f;
// The ring's angle steps with this value of pi, so the last vertex stops just short of a full
// turn and the closing quad spans the rest.
constexpr float pi = 3.14159f;

// Ring i is centred on the axis, two units further away than the one before.
float ringDepth(int index) {
    return -2.0f * static_cast<float>(index + 1);
}

// The depth is the radius times the centre's depth, not a sum: the rings are not flat, and the
// further ones stretch deeper.
void buildRing(std::vector<Vertex>& ring, float centreZ, float circleFactor, float delta) {
    Tunnel::programWide.ripple += perSecond(delta, 0.06f);
    const float step = 2.0f * pi / static_cast<float>(ring.size());
    float angle = 0.0f;
    for (Vertex& vertex : ring) {
        const float radius =
            baseRadius + rippleHeight * std::sin(angle * circleFactor + Tunnel::programWide.ripple);
        vertex.setPosition(radius * std::sin(angle), radius * std::cos(angle), radius * centreZ);
        vertex.setTexCoord(std::sin(angle), 0.1f * vertex.z);
        angle += step;
    }
}

void sendQuad(VertexBatch& batch, const Vertex& a, const Vertex& b, const Vertex& c,
              const Vertex& d) {
    batch.texturedVertex(a);
    batch.texturedVertex(b);
    batch.texturedVertex(c);
    batch.texturedVertex(d);
}

} // namespace

float Tunnel::spinAngle() {
    return programWide.spin;
}

float Tunnel::ripplePhase() {
    return programWide.ripple;
}

float Tunnel::lightPhase() {
    return programWide.swing;
}

void Tunnel::trigger(const std::string& triggerId, const std::vector<float>& values) {
    if (triggerId == circFactor) {
        if (hasParameter(values, 0))
            circleFactor = values[0];
    } else if (triggerId == reverseAngle) {
        spinDirection = -spinDirection;
    } else if (triggerId == zoomTrigger) {
        if (hasParameter(values, 0))
            zoom = values[0];
    }
}

void Tunnel::load(float delta) {
    if (hasParameter(parameters, 0))
        circleFactor = parameters[0];
    texture = TextureManager::instance()->pictureOrFallback(pictureName(data, defaultPicture));
    for (std::vector<Vertex>& ring : rings)
        ring = makeVertexArray(ringVertexCount);
    buildRings(delta);
}

void Tunnel::buildRings(float delta) {
    for (int i = 0; i < ringCount; ++i)
        buildRing(rings[i], ringDepth(i), circleFactor, delta);
}

void Tunnel::animate(float delta) {
    // Only a camera further out than its resting place flies in; one nearer stays.
    if (zoom > restingZoom) {
        zoom -= perSecond(delta, 12.0f);
        if (zoom < restingZoom)
            zoom = restingZoom;
    }
    programWide.spin += perSixtieth(delta, spinDirection);
    programWide.swing += perSecond(delta, 3.0f);
}

// Set after the transforms, so the light turns with the tube. The second position replaces the
// first.
void Tunnel::light() const {
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHT1);
    const GLfloat behind[] = {0.0f, 0.0f, -10.0f, 1.0f};
    const GLfloat white[] = {1.0f, 1.0f, 1.0f, 1.0f};
    glLightfv(GL_LIGHT1, GL_POSITION, behind);
    glLightfv(GL_LIGHT1, GL_AMBIENT, white);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT1, GL_SPECULAR, white);
    // Swings between 5 and 25 units down the tube.
    const float depth = 15.0f + 10.0f * std::sin(programWide.swing);
    const GLfloat swinging[] = {0.0f, depth * 0.125f, depth, 1.0f};
    glLightfv(GL_LIGHT1, GL_POSITION, swinging);
    glLightf(GL_LIGHT1, GL_LINEAR_ATTENUATION, 0.001f);
    glLightf(GL_LIGHT1, GL_SPOT_EXPONENT, 64.0f);
    glLightf(GL_LIGHT1, GL_SPOT_CUTOFF, 90.0f);
    const GLfloat direction[] = {1.0f, -1.0f, -0.5f};
    glLightfv(GL_LIGHT1, GL_SPOT_DIRECTION, direction);
}

// Each skin joins a ring to the next one further in, counter-clockwise seen from inside; a
// second batch closes the seam between the last vertex and the first.
void Tunnel::drawSkins() const {
    for (int j = 0; j + 1 < ringCount; ++j) {
        const std::vector<Vertex>& nearRing = rings[j];
        const std::vector<Vertex>& farRing = rings[j + 1];
        const int last = ringVertexCount - 1;
        VertexBatch skin(GL_QUADS);
        skin.reserve(static_cast<std::size_t>(last) * 4);
        for (int k = 0; k < last; ++k)
            sendQuad(skin, nearRing[k], farRing[k], farRing[k + 1], nearRing[k + 1]);
        skin.draw();
        sendQuad(skin, nearRing[last], farRing[last], farRing[0], nearRing[0]);
        skin.draw();
    }
}

void Tunnel::render() {
    const float delta = frameDelta();
    glClear(GL_DEPTH_BUFFER_BIT);
    // Exponential black fog, the GL's own mode and colour.
    glEnable(GL_FOG);
    glFogf(GL_FOG_START, 5.0f);
    glFogf(GL_FOG_END, 10.0f);
    glFogf(GL_FOG_DENSITY, 0.1f);
    if (!texture)
        load(delta);
    glEnable(GL_LIGHTING);
    bindPicture(*texture);
    glLoadIdentity();

    animate(delta);
    glTranslatef(0.7f * std::sin(0.02f * programWide.spin),
                 0.7f * std::cos(0.01f * programWide.spin), zoom);
    glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
    glRotatef(programWide.spin, 0.0f, 0.0f, 1.0f);
    light();

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    buildRings(delta);
    drawSkins();
}

#include "Tentacle.h"

#include "TubeMaths.h"
#include "VertexArray.h"
#include "VertexBatch.h"

#include <GL/gl.h>
#include <cmath>

Tentacle::Tentacle(const Shape& shape)
    : shape(shape),
      samples(makeVertexArray(catmullRomSampleCount(controlCount, shape.samplesPerSegment))),
      points(makeVertexArray(shape.rings * shape.ringPoints + 1)) {}

void Tentacle::bend(float angle, float twist) {
    for (int b = 0; b < controlCount; ++b) {
        const float reach = 1.1f * static_cast<float>(b);
        const float turned = angle + 0.05f * static_cast<float>(b + 1) * twist;
        controls[b].setPosition(0.0f, reach * std::sin(turned), reach * std::cos(turned));
    }
}

float Tentacle::build(float phase) {
    catmullRomSamples(controls, shape.samplesPerSegment, samples);
    for (int j = 0; j < shape.rings; ++j, phase += shape.phaseStep) {
        const Vertex& centre = samples[j];
        const TubeFrame frame = tubeFrame(centre, samples[j + 1]);
        for (int k = 0; k < shape.ringPoints; ++k) {
            const float angle = shape.angleStep * static_cast<float>(k);
            const float radius = shape.radius(j, k, phase);
            Vertex& ringPoint = points[j * shape.ringPoints + k];
            placeRingPoint(ringPoint, centre, frame, angle, radius);
            if (firstBuild)
                wrapTexCoord(ringPoint, centre, frame, angle, radius);
        }
    }
    Vertex& tip = points.back();
    tip.setPosition(controls.back());
    if (firstBuild)
        tip.setTexCoord(controls.back().z, controls.back().y);
    firstBuild = false;
    return phase;
}

const Vertex& Tentacle::point(int ring, int k) const {
    return points[ring * shape.ringPoints + k % shape.ringPoints];
}

// Round the ring first, then along the tube: with the ring's angle turning from the binormal
// towards the normal, that is counter-clockwise seen from outside.
void Tentacle::draw() const {
    VertexBatch tube(GL_QUADS);
    for (int j = 0; j + 1 < shape.rings; ++j) {
        for (int k = 0; k < shape.ringPoints; ++k) {
            tube.texturedVertex(point(j, k));
            tube.texturedVertex(point(j, k + 1));
            tube.texturedVertex(point(j + 1, k + 1));
            tube.texturedVertex(point(j + 1, k));
        }
    }
    tube.draw();
    const int last = shape.rings - 1;
    VertexBatch tip(GL_TRIANGLES);
    for (int k = 0; k < shape.ringPoints; ++k) {
        tip.texturedVertex(point(last, k));
        tip.texturedVertex(point(last, k + 1));
        tip.texturedVertex(points.back());
    }
    tip.draw();
}

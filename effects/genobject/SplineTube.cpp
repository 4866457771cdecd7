#include "SplineTube.h"

#include "TubeMaths.h"
#include "VertexArray.h"
#include "VertexBatch.h"

#include <GL/gl.h>
#include <cmath>

SplineTube::Shared SplineTube::shared;

namespace {

void emit(VertexBatch& batch, const Vertex& vertex) {
    batch.texCoord(vertex.z, vertex.y);
    batch.normal(vertex.x, vertex.y, vertex.z);
    batch.vertex(vertex.x, vertex.y, vertex.z);
}

} // namespace

float SplineTube::rollAngle() {
    return shared.roll;
}

SplineTube::SplineTube()
    : controls{{{0.5f, 0.5f, 6.0f},
                {0.5f, 0.5f, -4.0f},
                {0.5f, 0.5f, -2.0f},
                {-1.0f, 0.5f, 0.0f},
                {0.5f, 0.5f, 2.0f},
                {0.5f, 0.5f, 4.0f},
                {0.5f, 0.5f, 6.0f}}},
      samples(makeVertexArray(catmullRomSampleCount(controlCount, samplesPerSegment))),
      points(makeVertexArray(ringCount * ringPoints)) {}

void SplineTube::advance() {
    shared.swing += 0.01f;
    controls[3].x = std::sin(shared.swing);
    shared.thickPhase += 0.1f;
    catmullRomSamples(controls, samplesPerSegment, samples);
    for (int j = 0; j < ringCount; ++j) {
        const TubeFrame frame = tubeFrame(samples[j], samples[j + 1]);
        for (int k = 0; k < ringPoints; ++k) {
            const float angle = 0.2f * static_cast<float>(k);
            const float radius = 0.2f + 0.1f * std::sin(3.0f * angle + shared.thickPhase);
            Vertex& point = points[j * ringPoints + k];
            placeRingPoint(point, samples[j], frame, angle, radius);
            point.z = -point.z;
        }
    }
    shared.roll += 0.4f;
}

void SplineTube::draw() {
    advance();
    glRotatef(shared.roll, 0.0f, 0.0f, 1.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
    const auto at = [this](int ring, int k) -> const Vertex& {
        return points[ring * ringPoints + k % ringPoints];
    };
    VertexBatch batch(GL_TRIANGLES);
    for (int i = 0; i + 1 < ringCount; ++i) {
        for (int k = 0; k < ringPoints; ++k) {
            batch.color(1.0f, 0.0f, 1.0f);
            emit(batch, at(i, k));
            emit(batch, at(i + 1, k));
            emit(batch, at(i + 1, k + 1));
            batch.color(1.0f, 1.0f, 0.0f);
            emit(batch, at(i, k + 1));
            emit(batch, at(i, k));
            emit(batch, at(i + 1, k + 1));
        }
    }
    batch.draw();
}

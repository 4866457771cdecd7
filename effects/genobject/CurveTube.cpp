#include "CurveTube.h"

#include "Effect.h"
#include "EffectRules.h"
#include "TubeMaths.h"
#include "VertexArray.h"
#include "VertexBatch.h"

#include <GL/gl.h>
#include <cmath>

CurveTube::Shared CurveTube::shared;

bool CurveTube::firstBuildPending() {
    return shared.firstBuild;
}

void CurveTube::resetFirstBuild() {
    shared.firstBuild = true;
}

CurveTube::CurveTube()
    : path(makeVertexArray(ringCount)), points(makeVertexArray(ringCount * ringPoints)) {}

void CurveTube::advance(float delta) {
    shared.pathPhase += perSecond(delta, 1.8f);
    for (int j = 0; j < ringCount; ++j) {
        const float a = 0.1f * static_cast<float>(j);
        const float c = (std::sin(a + shared.pathPhase) + 3.0f) / 2.0f;
        path[j].setPosition(c * std::cos(a), c * std::sin(a), c * std::sin(2.0f * a));
    }
    shared.ringPhase += perSecond(delta, 3.0f);
    for (int j = 0; j < ringCount; ++j) {
        const TubeFrame frame = tubeFrame(path[j], path[(j + 1) % ringCount]);
        for (int k = 0; k < ringPoints; ++k) {
            const float angle = 0.2f * static_cast<float>(k);
            const float radius =
                0.5f + 0.2f * std::sin(std::sin(angle) + 0.6f * static_cast<float>(j + 1) +
                                       shared.ringPhase);
            Vertex& point = points[j * ringPoints + k];
            placeRingPoint(point, path[j], frame, angle, radius);
            point.z = -point.z;
            if (shared.firstBuild)
                point.setTexCoord(point.x, point.y);
        }
    }
    shared.firstBuild = false;
}

void CurveTube::draw() {
    advance(frameDelta());
    const auto at = [this](int ring, int k) -> const Vertex& {
        return points[(ring % ringCount) * ringPoints + k % ringPoints];
    };
    VertexBatch batch(GL_TRIANGLES);
    for (int i = 0; i < ringCount; ++i) {
        for (int k = 0; k < ringPoints; ++k) {
            batch.litVertex(at(i, k));
            batch.litVertex(at(i + 1, k));
            batch.litVertex(at(i + 1, k + 1));
            batch.litVertex(at(i, k + 1));
            batch.litVertex(at(i, k));
            batch.litVertex(at(i + 1, k + 1));
        }
    }
    batch.draw();
}

#include "InCube.h"

#include "EffectRules.h"
#include "PictureDrawing.h"
#include "TextureManager.h"
#include "VertexBatch.h"

#include <GL/gl.h>

InCube::ProgramWide InCube::programWide;

namespace {

constexpr float halfSide = 2.0f;

// Each face as its centre's direction (also its normal) and two directions along it.
struct FaceFrame {
    float normal[3];
    float across[3];
    float down[3];
};

// In the order the faces are drawn: +x, -x, +y, -y, +z, -z.
constexpr FaceFrame frames[6] = {
    {{1, 0, 0}, {0, 0, -1}, {0, -1, 0}}, {{-1, 0, 0}, {0, 0, 1}, {0, -1, 0}},
    {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}},   {{0, -1, 0}, {1, 0, 0}, {0, 0, -1}},
    {{0, 0, 1}, {1, 0, 0}, {0, -1, 0}},  {{0, 0, -1}, {-1, 0, 0}, {0, -1, 0}},
};

} // namespace

float InCube::angle() {
    return programWide.spin;
}

void InCube::resetAngle() {
    programWide.spin = 0.0f;
}

void InCube::init() {
    texture = TextureManager::instance()->pictureOrFallback(pictureName(data, defaultPicture));
}

void InCube::trigger(const std::string& triggerId, const std::vector<float>&) {
    if (triggerId == reverseAngle)
        direction = -direction;
}

void InCube::turn(float delta) {
    programWide.spin += perSixtieth(delta, direction);
}

void InCube::buildFaces() {
    constexpr int n = subdivision;
    for (std::size_t f = 0; f < faces.size(); ++f) {
        const FaceFrame& frame = frames[f];
        Face& face = faces[f];
        face.reserve((n + 1) * (n + 1));
        for (int row = 0; row <= n; ++row) {
            for (int column = 0; column <= n; ++column) {
                // From -1 to 1 along the face, in units of the half side.
                const float a = 2.0f * column / n - 1.0f;
                const float d = 2.0f * row / n - 1.0f;
                float position[3];
                for (int axis = 0; axis < 3; ++axis)
                    position[axis] = halfSide * (frame.normal[axis] + a * frame.across[axis] +
                                                 d * frame.down[axis]);
                Vertex vertex(position[0], position[1], position[2]);
                vertex.setTexCoord(static_cast<float>(column) / n, static_cast<float>(row) / n);
                face.push_back(vertex);
            }
        }
    }
}

void InCube::drawFace(VertexBatch& batch, const Face& face) const {
    constexpr int n = subdivision;
    auto emit = [&](int row, int column) {
        const Vertex& vertex = face[row * (n + 1) + column];
        batch.texCoord(vertex.u, vertex.v);
        batch.vertex(vertex.x, vertex.y, vertex.z);
    };
    for (int row = 0; row < n; ++row) {
        for (int column = 0; column < n; ++column) {
            emit(row, column);
            emit(row, column + 1);
            emit(row + 1, column + 1);
            emit(row + 1, column);
        }
    }
}

void InCube::render() {
    // Set up before its first frame, as the timeline always does; otherwise loaded here.
    if (!texture)
        init();
    if (faces[0].empty())
        buildFaces();
    glClear(GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glDisable(GL_CULL_FACE);
    bindPicture(*texture);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glLoadIdentity();
    // Just off centre: the viewer is inside the cube.
    glTranslatef(0.0f, 0.0f, -0.1f);
    turn(frameDelta());
    glRotatef(programWide.spin, 0.5f, 1.5f, -1.0f);
    VertexBatch batch(GL_QUADS);
    for (std::size_t f = 0; f < faces.size(); ++f) {
        // Lighting stays off; the normals are for anyone who turns it on.
        batch.normal(frames[f].normal);
        drawFace(batch, faces[f]);
    }
    batch.draw();
}

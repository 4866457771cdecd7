#include "BitmapDistortion.h"

#include "EffectRules.h"
#include "PictureDrawing.h"
#include "TextureManager.h"
#include "VertexBatch.h"

#include <GL/gl.h>
#include <cmath>

BitmapDistortion::BitmapDistortion(const std::string& name) : SavableEffect(name) {
    alpha = 1.0f;
}

void BitmapDistortion::init() {
    texture = nullptr;
    alpha = 1.0f;
    alphaTarget = 1.0f;
    load();
    buildGrid();
}

// Made at init outside the engine's save and restore as well, so they hold for what is drawn
// afterwards.
void BitmapDistortion::load() {
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    if (texture)
        return;
    texture = TextureManager::instance()->pictureOrFallback(pictureName(data, defaultPicture));
    readParameters();
}

void BitmapDistortion::readParameters() {
    mode = 0;
    radius = 100.0f;
    sinFactor = 0.3f;
    cosFactor = 0.5f;
    speed = 2.0f;
    scaleU = scaleV = 4.0f;
    centreX = centreY = 0.0f;
    const std::vector<float>& p = parameters;
    if (hasParameter(p, 0))
        mode = integerParameter(p[0]);
    if (hasParameter(p, 1))
        radius = p[1];
    if (hasParameter(p, 3)) {
        sinFactor = p[2];
        cosFactor = p[3];
    }
    if (hasParameter(p, 4))
        speed = p[4];
    if (hasParameter(p, 6)) {
        scaleU = p[5];
        scaleV = p[6];
    }
    if (hasParameter(p, 8)) {
        centreX = p[7];
        centreY = p[8];
    }
}

// Row by row from the bottom left, five units apart, so the last row and column stop one step
// short of the far edges.
void BitmapDistortion::buildGrid() {
    grid.assign(std::size_t(columns) * rows, {});
    const float stepX = (xMax - xMin) / static_cast<float>(columns);
    const float stepY = (yMax - yMin) / static_cast<float>(rows);
    float y = yMin;
    for (int i = 0; i < rows; ++i) {
        float x = xMin;
        for (int j = 0; j < columns; ++j) {
            grid[std::size_t(i) * columns + j] = {x, y, depth, (x + 50.0f) / 100.0f,
                                                  (y + 50.0f) / 100.0f};
            x += stepX;
        }
        y += stepY;
    }
}

BitmapDistortion::TexCoord BitmapDistortion::texCoord(const GridPoint& point, float delta) {
    if (point.x == xMin && point.y == yMin)
        angle += perSecond(delta, speed);
    const float dx = point.x - centreX;
    const float dy = point.y - centreY;
    const float d2 = dx * dx + dy * dy;
    const float r2 = radius * radius;
    // On the circle's edge the picture is at rest.
    if (d2 >= r2)
        return {point.restU, point.restV};
    const float t = 1.0f - d2 / r2;
    const float twist = t * t * std::sin(angle);
    const float c = std::cos(cosFactor * angle + twist);
    const float s = std::sin(sinFactor * angle + twist);
    float fU, fV;
    if (mode == 2) {
        fU = c * dx - c * dy + point.x;
        fV = c * dx - s * dy + centreX;
    } else if (mode == 3) {
        fU = c * dx - s * dy + centreY;
        fV = s * dx + c * dy + centreX;
    } else {
        fU = c * dx - c * dy + point.x;
        fV = s * dx - c * dy + centreX;
    }
    return {fU / 256.0f * scaleU + 0.5f, fV / 256.0f * scaleV + 0.5f};
}

void BitmapDistortion::drawGrid() {
    const float delta = frameDelta();
    std::vector<TexCoord> coords(grid.size());
    for (std::size_t k = 0; k < grid.size(); ++k)
        coords[k] = texCoord(grid[k], delta);
    VertexBatch batch(GL_QUADS);
    const auto send = [&](std::size_t k) {
        batch.texCoord(coords[k].u, coords[k].v);
        batch.vertex(grid[k].x, grid[k].y, grid[k].z);
    };
    for (int i = 0; i + 1 < rows; ++i) {
        for (int j = 0; j + 1 < columns; ++j) {
            const std::size_t k = std::size_t(i) * columns + j;
            send(k);
            send(k + 1);
            send(k + columns + 1);
            send(k + columns);
        }
    }
    batch.draw();
}

void BitmapDistortion::render() {
    load();
    const SquareAspect square(*this);
    glClear(GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    // Not clamped: once past its target alpha goes on, unless it lands on it exactly.
    if (alpha != alphaTarget)
        alpha += perSecond(frameDelta(), alphaSpeed);
    glColor4f(1.0f, 1.0f, 1.0f, alpha);
    // An alpha of exactly -1 draws the picture opaque.
    if (alpha == -1.0f) {
        glDisable(GL_BLEND);
    } else {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    bindPicture(*texture);
    drawGrid();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void BitmapDistortion::trigger(const std::string& triggerId, const std::vector<float>& values) {
    if (triggerId == setAlpha && hasParameter(values, 2)) {
        alpha = values[0];
        alphaTarget = values[1];
        alphaSpeed = values[2];
    }
}

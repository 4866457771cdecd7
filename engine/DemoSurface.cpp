#include "DemoSurface.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

// The largest rectangle of the demo's shape that fits, centred.
PixelRect fitPicture(int width, int height) {
    PixelRect area;
    if (static_cast<long>(width) * DemoSurface::demoHeight <=
        static_cast<long>(height) * DemoSurface::demoWidth) {
        area.width = width;
        area.height = static_cast<int>(std::lround(
            static_cast<double>(width) * DemoSurface::demoHeight / DemoSurface::demoWidth));
    } else {
        area.height = height;
        area.width = static_cast<int>(std::lround(
            static_cast<double>(height) * DemoSurface::demoWidth / DemoSurface::demoHeight));
    }
    area.width = std::clamp(area.width, 1, width);
    area.height = std::clamp(area.height, 1, height);
    area.x = (width - area.width) / 2;
    area.y = (height - area.height) / 2;
    return area;
}

// A demo coordinate along one axis of the picture: edges are placed, not lengths, so that
// rectangles that meet in the demo meet on the surface too.
int placeEdge(int demoPixels, int demoSize, int start, int size) {
    return start + static_cast<int>(std::lround(static_cast<double>(demoPixels) * size / demoSize));
}

} // namespace

DemoSurface::DemoSurface(int width, int height)
    : surfaceWidth(std::max(width, 1)), surfaceHeight(std::max(height, 1)),
      area(fitPicture(surfaceWidth, surfaceHeight)) {}

PixelRect DemoSurface::place(const PixelRect& demoPixels) const {
    PixelRect placed;
    placed.x = placeEdge(demoPixels.x, demoWidth, area.x, area.width);
    placed.y = placeEdge(demoPixels.y, demoHeight, area.y, area.height);
    placed.width = std::max(
        1, placeEdge(demoPixels.x + demoPixels.width, demoWidth, area.x, area.width) - placed.x);
    placed.height = std::max(
        1, placeEdge(demoPixels.y + demoPixels.height, demoHeight, area.y, area.height) - placed.y);
    return placed;
}

float DemoSurface::scale() const {
    return static_cast<float>(area.height) / demoHeight;
}

void DemoSurface::setViewport(const PixelRect& demoPixels) const {
    const PixelRect placed = place(demoPixels);
    glViewport(placed.x, placed.y, placed.width, placed.height);
}

void DemoSurface::setPictureViewport() const {
    glViewport(area.x, area.y, area.width, area.height);
}

void DemoSurface::copyToTexture(const PixelRect& demoPixels) const {
    const PixelRect placed = place(demoPixels);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, placed.x, placed.y, placed.width, placed.height, 0);
}

void DemoSurface::setLineWidth(float demoPixels) const {
    glLineWidth(demoPixels * scale());
}

void DemoSurface::applyDefaults() const {
    setPictureViewport();
    glLineWidth(scale());
    glPointSize(scale());
}

void DemoSurface::blackenBars() const {
    const PixelRect bars[] = {
        {0, 0, area.x, surfaceHeight},
        {area.x + area.width, 0, surfaceWidth - area.x - area.width, surfaceHeight},
        {0, 0, surfaceWidth, area.y},
        {0, area.y + area.height, surfaceWidth, surfaceHeight - area.y - area.height},
    };
    if (std::none_of(std::begin(bars), std::end(bars),
                     [](const PixelRect& bar) { return bar.width > 0 && bar.height > 0; }))
        return;
    glPushAttrib(GL_SCISSOR_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    for (const PixelRect& bar : bars) {
        if (bar.width <= 0 || bar.height <= 0)
            continue;
        glScissor(bar.x, bar.y, bar.width, bar.height);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glPopAttrib();
}

#include "HelpOverlay.h"

#include "BitmapFont.h"
#include "DemoSurface.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstdint>

namespace {

// GL_ALL_ATTRIB_BITS as OpenGL 1.1 defines it.
constexpr GLbitfield allAttributeBits = 0x000FFFFF;
constexpr int margin = 6;
constexpr int lineGap = 3;

} // namespace

HelpOverlay::HelpOverlay(std::vector<std::string> lines) : lines(std::move(lines)) {}

// The text is drawn into RGBA pixels once per frame and put on with glDrawPixels: no texture to
// keep, and it scales with the picture so that it stays readable on a large window.
void HelpOverlay::draw() const {
    const DemoSurface& surface = demoSurface();
    const PixelRect& picture = surface.picture();
    const int scale = std::max(1, picture.height / 240);
    int widest = 0;
    for (const std::string& line : lines)
        widest = std::max(widest, BitmapFont::textWidth(line, scale));
    const int lineHeight = (BitmapFont::glyphHeight + lineGap) * scale;
    const int width = std::min(widest + 2 * margin * scale, picture.width);
    const int height =
        std::min(static_cast<int>(lines.size()) * lineHeight + 2 * margin * scale, picture.height);
    if (width <= 0 || height <= 0)
        return;

    Image text(width, height);
    for (std::size_t i = 0; i < lines.size(); ++i)
        BitmapFont::draw(text, margin * scale, margin * scale + static_cast<int>(i) * lineHeight,
                         lines[i], scale, {255, 255, 255});
    // Bottom row first, as glDrawPixels takes them; the box is see-through black.
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* source = text.row(height - 1 - y);
        std::uint8_t* out = rgba.data() + static_cast<std::size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x) {
            const bool lit = source[x * 3] != 0;
            out[x * 4 + 0] = out[x * 4 + 1] = out[x * 4 + 2] = lit ? 255 : 0;
            out[x * 4 + 3] = lit ? 255 : 170;
        }
    }

    glPushAttrib(allAttributeBits);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glViewport(0, 0, surface.width(), surface.height());
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, surface.width(), 0, surface.height(), -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glPixelZoom(1.0f, 1.0f);
    // The box's top left corner at the picture's.
    glRasterPos2i(picture.x, picture.y + picture.height - height);
    glDrawPixels(width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

std::vector<std::string> viewerKeys() {
    return {"Space      pause / play",
            ".          one frame on (paused)",
            "Left Right seek 1 s (Shift: 10 s)",
            "Home       back to the start",
            "[ ]        loop start / end",
            "s          save the frame as PNG",
            "f F11      fill the screen",
            "h F1       this help",
            "Escape     end"};
}

#pragma once

// A rectangle of pixels counted from the bottom left, as GL counts them.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const PixelRect&) const = default;
};

// Where the demo's own 640 x 480 pixels lie on the surface it is drawn on. Effects draw as if at
// 640 x 480 (the size `setup` hands them, a 4:3 projection); a surface of another size shows the
// same picture scaled to the largest 4:3 rectangle that fits, centred, with black bars beside or
// above and below it. Whatever addresses pixels (viewports, copies to textures, line widths)
// goes through here, so that an effect works at any size without knowing it. At 640 x 480 every
// call is exactly the GL call it stands for.
class DemoSurface {
public:
    static constexpr int demoWidth = 640;
    static constexpr int demoHeight = 480;

    // The demo's own size.
    DemoSurface() : DemoSurface(demoWidth, demoHeight) {}
    // A surface of this many pixels (each side at least 1).
    DemoSurface(int width, int height);

    int width() const { return surfaceWidth; }
    int height() const { return surfaceHeight; }
    // Where the demo's picture lies; the rest of the surface is bars.
    const PixelRect& picture() const { return area; }
    // A rectangle of demo pixels on the surface; never less than a pixel a side.
    PixelRect place(const PixelRect& demoPixels) const;
    // Surface pixels to a demo pixel.
    float scale() const;

    // These set GL state on the current context.
    void setViewport(const PixelRect& demoPixels) const;
    // The viewport on the whole picture.
    void setPictureViewport() const;
    // glCopyTexImage2D of demo pixels into level 0 of the bound 2D texture, as RGBA.
    void copyToTexture(const PixelRect& demoPixels) const;
    void setLineWidth(float demoPixels) const;
    // What the window starts with: the picture's viewport, lines and points a demo pixel wide.
    void applyDefaults() const;
    // Clears the bars to black: drawing near the picture's edge (wide lines) may reach them.
    void blackenBars() const;

private:
    int surfaceWidth;
    int surfaceHeight;
    PixelRect area;
};

// The surface the demo's window draws on; the demo's own size before a window is made.
const DemoSurface& demoSurface();

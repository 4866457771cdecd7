#include "WindowPixels.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <stdexcept>

WindowPixels::Extent WindowPixels::litExtent() const {
    Extent extent;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (at(x, y) == 0)
                continue;
            extent.left = extent.left < 0 ? x : std::min(extent.left, x);
            extent.right = std::max(extent.right, x);
            extent.top = extent.top < 0 ? y : extent.top;
            extent.bottom = y;
        }
    }
    return extent;
}

namespace {

// A window that goes while it is read makes Xlib report an error; the read then comes back
// empty instead of ending the test.
int ignoreError(Display*, XErrorEvent*) {
    return 0;
}

} // namespace

WindowPixels readWindowPixels(const std::string& window) {
    WindowPixels pixels;
    Window id = 0;
    try {
        id = std::stoul(window);
    } catch (const std::exception&) {
        return pixels;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return pixels;
    const auto previous = XSetErrorHandler(ignoreError);
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, id, &attributes) && attributes.width > 0) {
        if (XImage* image = XGetImage(display, id, 0, 0, attributes.width, attributes.height,
                                      AllPlanes, ZPixmap)) {
            pixels.width = attributes.width;
            pixels.height = attributes.height;
            pixels.rgb.reserve(static_cast<std::size_t>(pixels.width) * pixels.height);
            for (int y = 0; y < pixels.height; ++y)
                for (int x = 0; x < pixels.width; ++x)
                    pixels.rgb.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y)) &
                                         0xFFFFFFu);
            XDestroyImage(image);
        }
    }
    XSync(display, False);
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    return pixels;
}

#pragma once

#include "DemoSurface.h"

#include <optional>
#include <string>

class Dialogs;

// What the window system tells the main loop between frames.
struct WindowEvent {
    // Resized: the drawing surface has a new size, already in effect.
    enum class Type { Quit, KeyDown, KeyUp, Resized, Other };
    Type type = Type::Other;
    // KeyDown, KeyUp: the key's code in the key-state table (0..255), or -1 for keys it has no
    // entry for.
    int key = -1;
    // KeyDown: the keys without a table entry that a viewer seeks with, asks for help with or
    // toggles fullscreen with.
    enum class Named { None, Left, Right, Home, F1, F11 };
    Named named = Named::None;
    bool shift = false;
};

// The pixels a window draws on, where they are not the size asked for at creation (the demo's
// own, which effects keep seeing): the same picture scaled to them (DemoSurface).
struct SurfaceRequest {
    // 0: the size asked for at creation.
    int width = 0;
    int height = 0;
    // The user may resize the window, and the surface follows it.
    bool resizable = false;
};

// The demo's drawing surface: one window with a double-buffered RGBA GL context and a 16-bit
// depth buffer, on the desktop or on a display switched to the demo's size. There is one window
// per process; every GLWindow object works on it. Its teardown also runs at process exit, so a
// switched display mode is always restored.
class GLWindow {
public:
    GLWindow();

    // Shows each failure through `dialogs` and answers false; everything made so far is torn
    // down first.
    bool create(const std::string& title, int width, int height, int bitsPerPixel, bool fullscreen,
                Dialogs& dialogs, const SurfaceRequest& surface = {});
    // Safe to call any number of times; releases only what is still held.
    void destroy();

    // The default perspective for a drawing area of this size, and its viewport, placed on the
    // surface; lines and points a demo pixel wide.
    void resize(int width, int height);
    void setTitle(const std::string& title);
    std::string getTitle() const;
    void swapBuffers();
    // Keeps the screen saver and monitor power saving off while the demo runs.
    void holdScreenSaver();
    // A resizable surface follows the window's size here, its viewport set anew.
    std::optional<WindowEvent> pollEvent();
    // Covers the screen at the desktop's own display mode (no mode switch), or gives the window
    // back its place; the surface follows at the next pollEvent.
    void setDesktopFullscreen(bool on);
    bool isDesktopFullscreen() const;

    // The size asked for at creation.
    int getWidth() const;
    int getHeight() const;
    // The pixels drawn on; the size asked for at creation unless a surface was requested.
    const DemoSurface& getSurface() const;
    bool isOpen() const;
    bool isFullscreen() const;
    // Whether the buffer swap waits for the display.
    bool hasVsync() const;
    // The display's refresh rate in Hz, 0 where it is not known.
    int getRefreshRate() const;
};

#pragma once

#include <optional>
#include <string>

class Dialogs;

// What the window system tells the main loop between frames.
struct WindowEvent {
    enum class Type { Quit, KeyDown, KeyUp, Other };
    Type type = Type::Other;
    // KeyDown, KeyUp: the key's code in the key-state table (0..255), or -1 for keys it has no
    // entry for.
    int key = -1;
    // KeyDown: the keys without a table entry that a viewer seeks with.
    enum class Named { None, Left, Right, Home };
    Named named = Named::None;
    bool shift = false;
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
                Dialogs& dialogs);
    // Safe to call any number of times; releases only what is still held.
    void destroy();

    // The default viewport and perspective for a drawing area of this size.
    void resize(int width, int height);
    void setTitle(const std::string& title);
    std::string getTitle() const;
    void swapBuffers();
    // Keeps the screen saver and monitor power saving off while the demo runs.
    void holdScreenSaver();
    std::optional<WindowEvent> pollEvent();

    // The size asked for at creation.
    int getWidth() const;
    int getHeight() const;
    bool isOpen() const;
    bool isFullscreen() const;
    // Whether the buffer swap waits for the display.
    bool hasVsync() const;
    // The display's refresh rate in Hz, 0 where it is not known.
    int getRefreshRate() const;
};

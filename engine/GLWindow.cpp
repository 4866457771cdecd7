#include "GLWindow.h"

#include "Dialogs.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>
#include <cstdlib>
#include <string>
#include <utility>

namespace {

// The one window of the process.
struct WindowState {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    int width = 0;
    int height = 0;
    bool fullscreen = false;
    bool videoStarted = false;
    bool glLoaded = false;
    bool vsync = false;
    // The surface follows the window's size.
    bool resizable = false;
    DemoSurface surface;
    // Set while a window is held: teardown reports its failures where creation did.
    Dialogs* dialogs = nullptr;
};

WindowState state;

void fail(Dialogs& dialogs, const std::string& text, DialogIcon icon = DialogIcon::Warning) {
    dialogs.show("ERROR", text, icon);
}

void destroyAtExit() {
    GLWindow().destroy();
}

// SDL falls back to drivers that show nothing when no display answers. The player would then
// run unseen with no way to end it, so such a driver serves only where it was asked for by name
// (the tests and offline rendering ask for "offscreen").
bool showsNothingUnasked() {
    const std::string driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    return (driver == "offscreen" || driver == "dummy") &&
           !(asked && std::string(asked).find(driver) != std::string::npos);
}

bool isSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value;
}

// The video subsystem and the GL library stay loaded until the process ends: a driver unloaded
// and reloaded for every window costs time and loses track of what the driver allocated.
// Answers why no window system could be reached, or "" when it was.
std::string startVideo() {
    if (state.videoStarted)
        return "";
    if (!SDL_GetHint(SDL_HINT_VIDEODRIVER)) {
        // Without a display to name, every driver SDL tries fails and some say so on stderr
        // in their own words; an X display alone is reached through X directly.
        if (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY"))
            return "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set).";
        if (!isSet("WAYLAND_DISPLAY"))
            SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return std::string("The display cannot be opened (") + SDL_GetError() + ").";
    if (showsNothingUnasked()) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return "No display found.";
    }
    state.videoStarted = true;
    return "";
}

bool loadGLLibrary() {
    if (state.glLoaded)
        return true;
    state.glLoaded = SDL_GL_LoadLibrary(nullptr) == 0;
    return state.glLoaded;
}

// A display mode of exactly this size whose pixels take `bitsPerPixel` bits of memory.
std::optional<SDL_DisplayMode> findDisplayMode(int width, int height, int bitsPerPixel) {
    const int modes = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < modes; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w == width && mode.h == height &&
            static_cast<int>(SDL_BYTESPERPIXEL(mode.format)) * 8 == bitsPerPixel)
            return mode;
    }
    return std::nullopt;
}

bool askForWindowedMode(Dialogs& dialogs) {
    return dialogs.askYesNo("Zorv GL", "The Requested Fullscreen Mode Is Not Supported By\n"
                                       "Your Video Card. Use Windowed Mode Instead?");
}

void requestPixelFormat(int bitsPerPixel) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, bitsPerPixel >= 24 ? 8 : 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, bitsPerPixel >= 24 ? 8 : 5);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, bitsPerPixel >= 24 ? 8 : 5);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
}

// The window's drawing area in pixels, which may be more than its size in screen units.
DemoSurface drawableSurface() {
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(state.window, &width, &height);
    return DemoSurface(width, height);
}

// Switches the window's display to `mode`. On failure the window stays on the desktop.
bool switchDisplay(const SDL_DisplayMode& mode) {
    if (SDL_SetWindowDisplayMode(state.window, &mode) == 0 &&
        SDL_SetWindowFullscreen(state.window, SDL_WINDOW_FULLSCREEN) == 0)
        return true;
    SDL_SetWindowFullscreen(state.window, 0);
    return false;
}

} // namespace

GLWindow::GLWindow() {
    static const bool registered = std::atexit(destroyAtExit) == 0;
    (void)registered;
}

bool GLWindow::create(const std::string& title, int width, int height, int bitsPerPixel,
                      bool fullscreen, Dialogs& dialogs, const SurfaceRequest& surface) {
    destroy();
    state.fullscreen = false;
    state.dialogs = &dialogs;
    // Not a failure a window system would have had a message for: said in plain words.
    if (const std::string noVideo = startVideo(); !noVideo.empty()) {
        fail(dialogs,
             noVideo + " Run the player on a desktop, or under xvfb-run where there is none.");
        return false;
    }

    // The mode is switched once the window exists; a mode the display does not list is asked
    // about before anything is made.
    std::optional<SDL_DisplayMode> mode;
    if (fullscreen) {
        mode = findDisplayMode(width, height, bitsPerPixel);
        if (!mode && !askForWindowedMode(dialogs)) {
            fail(dialogs, "Program Will Now Close.", DialogIcon::Error);
            return false;
        }
    }
    if (!loadGLLibrary()) {
        fail(dialogs, "Can't Find A Suitable PixelFormat.");
        return false;
    }
    if (mode)
        SDL_ShowCursor(SDL_DISABLE);

    requestPixelFormat(bitsPerPixel);
    // The size is the drawing area's, so the 640 x 480 viewport is not cropped by the frame.
    const int surfaceWidth = surface.width > 0 ? surface.width : width;
    const int surfaceHeight = surface.height > 0 ? surface.height : height;
    const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN |
                         (surface.resizable ? SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI : 0);
    state.window = SDL_CreateWindow(title.c_str(), 0, 0, surfaceWidth, surfaceHeight, flags);
    if (!state.window) {
        if (mode)
            SDL_ShowCursor(SDL_ENABLE);
        destroy();
        fail(dialogs, "Window Creation Error.");
        return false;
    }
    if (mode) {
        state.fullscreen = switchDisplay(*mode);
        if (!state.fullscreen) {
            SDL_ShowCursor(SDL_ENABLE);
            if (!askForWindowedMode(dialogs)) {
                destroy();
                fail(dialogs, "Program Will Now Close.", DialogIcon::Error);
                return false;
            }
        }
    }

    state.context = SDL_GL_CreateContext(state.window);
    if (!state.context) {
        destroy();
        fail(dialogs, "Can't Create A GL Rendering Context.");
        return false;
    }
    if (SDL_GL_MakeCurrent(state.window, state.context) != 0) {
        destroy();
        fail(dialogs, "Can't Activate The GL Rendering Context.");
        return false;
    }
    // Animation that steps per frame runs at the display's rate; where the driver refuses, the
    // main loop spaces the frames itself.
    state.vsync = SDL_GL_SetSwapInterval(1) == 0 && SDL_GL_GetSwapInterval() == 1;

    SDL_ShowWindow(state.window);
    SDL_RaiseWindow(state.window);
    state.width = width;
    state.height = height;
    state.resizable = surface.resizable;
    state.surface = drawableSurface();
    return true;
}

// The handles leave the window state before they are released: a display connection that dies
// here makes the window system end the process, and the teardown registered at exit then runs
// inside this one and must find nothing left to release.
void GLWindow::destroy() {
    SDL_Window* window = std::exchange(state.window, nullptr);
    SDL_GLContext context = std::exchange(state.context, nullptr);
    Dialogs& dialogs = state.dialogs ? *std::exchange(state.dialogs, nullptr) : Dialogs::system();
    if (context) {
        if (SDL_GL_MakeCurrent(window, nullptr) != 0)
            dialogs.show("SHUTDOWN ERROR", "Release Of DC And RC Failed.", DialogIcon::Information);
        SDL_GL_DeleteContext(context);
    }
    // Destroying a fullscreen window gives the display its desktop mode back.
    if (window)
        SDL_DestroyWindow(window);
    if (state.fullscreen)
        SDL_ShowCursor(SDL_ENABLE);
    state.surface = DemoSurface();
    state.resizable = false;
}

void GLWindow::resize(int width, int height) {
    if (height == 0)
        height = 1;
    state.surface.applyDefaults();
    state.surface.setViewport({0, 0, width, height});
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(width) / height, 0.1f, 200.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void GLWindow::setTitle(const std::string& title) {
    if (state.window)
        SDL_SetWindowTitle(state.window, title.c_str());
}

std::string GLWindow::getTitle() const {
    return state.window ? SDL_GetWindowTitle(state.window) : "";
}

void GLWindow::swapBuffers() {
    if (state.window)
        SDL_GL_SwapWindow(state.window);
}

void GLWindow::holdScreenSaver() {
    SDL_DisableScreenSaver();
}

namespace {

// Key codes as the key-state table counts them: letters by their capital, other ASCII keys by
// their character.
int tableKey(SDL_Keycode key) {
    if (key >= 'a' && key <= 'z')
        return key - 'a' + 'A';
    if (key >= 0 && key < 128)
        return key;
    return -1;
}

WindowEvent::Named namedKey(SDL_Keycode key) {
    switch (key) {
    case SDLK_LEFT: return WindowEvent::Named::Left;
    case SDLK_RIGHT: return WindowEvent::Named::Right;
    case SDLK_HOME: return WindowEvent::Named::Home;
    case SDLK_F1: return WindowEvent::Named::F1;
    case SDLK_F11: return WindowEvent::Named::F11;
    default: return WindowEvent::Named::None;
    }
}

} // namespace

std::optional<WindowEvent> GLWindow::pollEvent() {
    SDL_Event event;
    if (!state.videoStarted || !SDL_PollEvent(&event))
        return std::nullopt;
    switch (event.type) {
    case SDL_QUIT: return WindowEvent{WindowEvent::Type::Quit};
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE)
            return WindowEvent{WindowEvent::Type::Quit};
        if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED && state.resizable &&
            state.context) {
            state.surface = drawableSurface();
            state.surface.applyDefaults();
            return WindowEvent{WindowEvent::Type::Resized};
        }
        break;
    case SDL_KEYDOWN: {
        WindowEvent down{WindowEvent::Type::KeyDown, tableKey(event.key.keysym.sym)};
        down.named = namedKey(event.key.keysym.sym);
        down.shift = (event.key.keysym.mod & KMOD_SHIFT) != 0;
        return down;
    }
    case SDL_KEYUP: return WindowEvent{WindowEvent::Type::KeyUp, tableKey(event.key.keysym.sym)};
    default: break;
    }
    return WindowEvent{};
}

void GLWindow::setDesktopFullscreen(bool on) {
    if (state.window)
        SDL_SetWindowFullscreen(state.window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

bool GLWindow::isDesktopFullscreen() const {
    return state.window && (SDL_GetWindowFlags(state.window) & SDL_WINDOW_FULLSCREEN_DESKTOP) ==
                               SDL_WINDOW_FULLSCREEN_DESKTOP;
}

int GLWindow::getWidth() const {
    return state.width;
}

int GLWindow::getHeight() const {
    return state.height;
}

const DemoSurface& GLWindow::getSurface() const {
    return state.surface;
}

const DemoSurface& demoSurface() {
    return state.surface;
}

bool GLWindow::isOpen() const {
    return state.context != nullptr;
}

bool GLWindow::hasVsync() const {
    return state.context && state.vsync;
}

int GLWindow::getRefreshRate() const {
    SDL_DisplayMode mode;
    if (!state.window || SDL_GetWindowDisplayMode(state.window, &mode) != 0)
        return 0;
    return mode.refresh_rate;
}

bool GLWindow::isFullscreen() const {
    return state.fullscreen;
}

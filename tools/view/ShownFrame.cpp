#include "ShownFrame.h"

#include "DemoSurface.h"
#include "Image.h"
#include "PngFile.h"

#include <GL/gl.h>
#include <cstdio>

namespace fs = std::filesystem;

namespace {

fs::path freeName(const std::string& scriptName, double time) {
    const fs::path script(scriptName);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "-%.2fs", time);
    const std::string base = script.stem().string() + stamp;
    fs::path name = script.parent_path() / (base + ".png");
    for (int copy = 2; fs::exists(name); ++copy)
        name = script.parent_path() / (base + "-" + std::to_string(copy) + ".png");
    return name;
}

} // namespace

fs::path saveShownFrame(const std::string& scriptName, double time) {
    const PixelRect& picture = demoSurface().picture();
    Image frame(picture.width, picture.height);
    frame.rows = RowOrder::BottomUp;
    GLint readBuffer = GL_BACK;
    GLint alignment = 4;
    glGetIntegerv(GL_READ_BUFFER, &readBuffer);
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(picture.x, picture.y, picture.width, picture.height, GL_RGB, GL_UNSIGNED_BYTE,
                 frame.rgb.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    glReadBuffer(static_cast<GLenum>(readBuffer));
    frame.putRowsTopDown();
    const fs::path name = freeName(scriptName, time);
    writePng(name, frame);
    return name;
}

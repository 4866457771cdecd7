#pragma once

#include "PictureCanvas.h"

#include <string>
#include <vector>

// The pictures of the bundled demo, drawn from scratch: shapes, gradients, noise and text in
// the bitmap font. Black parts are the parts the player cuts out.
struct DemoPicture {
    // Where the demo's script and the effects' own default names look for it, relative to the
    // demo's folder, '/' between folders.
    std::string path;
    PictureCanvas canvas;
};

std::vector<DemoPicture> drawDemoPictures();

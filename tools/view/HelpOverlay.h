#pragma once

#include <string>
#include <vector>

// Lines of text over the picture on a dark box, in the bitmap font, drawn with GL on the frame
// in the back buffer: the viewer's keys, shown on request.
class HelpOverlay {
public:
    explicit HelpOverlay(std::vector<std::string> lines);
    // Leaves GL's state as it found it.
    void draw() const;

private:
    std::vector<std::string> lines;
};

// What reelview's keys do, a line each.
std::vector<std::string> viewerKeys();

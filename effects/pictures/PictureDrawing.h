#pragma once

#include "Texture.h"

class Effect;

// Drawing shared by the effects that show pictures on flat quads.

// The settings that PicStory and Picture make when they are set up. They are made outside the
// engine's save and restore, so they hold for everything drawn afterwards: flat shading, back
// faces culled, depth cleared to 1 and tested less-or-equal, the nicest perspective correction.
void applyPictureSettings();

// Texturing on with the picture bound.
void bindPicture(const Texture& picture);

// The square from (0, 0) to (1, 1) in the plane z = 0, counter-clockwise, with the picture's
// top row at its top edge.
void drawUnitQuad();

// A square view for one frame: the effect's aspect is 1 while this lives, so a square picture
// stays square whatever the window's shape, and is set back afterwards.
class SquareAspect {
public:
    explicit SquareAspect(Effect& effect);
    ~SquareAspect();
    SquareAspect(const SquareAspect&) = delete;
    SquareAspect& operator=(const SquareAspect&) = delete;

private:
    Effect& effect;
    float saved;
};

#pragma once

#include "Vertex.h"

#include <span>

// Immediate-mode drawing shared by the effects. None of it sets colour, texture or GL state.

// Quads of four vertices each; the position also serves as the normal, which points outward on
// a sphere. A trailing group of fewer than four vertices is not drawn.
void drawQuadList(std::span<const Vertex> vertices);

// In the plane z = 0, centred on the modelview origin. The filled shapes have texture row 0 at
// their top edge, as pictures are stored top row first; the outline has it at the bottom.
void drawSquare(float half);
void drawSquareOutline(float half);
void drawRect(float halfWidth, float halfHeight);

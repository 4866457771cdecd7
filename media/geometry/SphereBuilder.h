#pragma once

#include "Vertex.h"

#include <cstddef>
#include <vector>

// The deepest sphere that can be asked for: 1.5 million vertices. Effects ask for at most 4.
constexpr int maxSphereDepth = 8;

// Vertices of a sphere of this subdivision depth: 6 x 4^(depth + 1); 24 below depth 0.
std::size_t sphereVertexCount(int depth);

// A sphere made by subdividing the faces of a cube `depth` times, as quads of four vertices,
// face by face, each wound counter-clockwise seen from outside. Every vertex lies at `radius`
// from the origin; its texture coordinates are its x and y on the unit sphere. Throws
// std::length_error above `maxSphereDepth`.
std::vector<Vertex> makeSphere(int depth, float radius);

#pragma once

#include "Vertex.h"

#include <vector>

// The vertex lists that effects build their meshes in: `count` default vertices, none for a
// count below 1.
std::vector<Vertex> makeVertexArray(int count);

#include "VertexArray.h"

std::vector<Vertex> makeVertexArray(int count) {
    return std::vector<Vertex>(count > 0 ? static_cast<std::size_t>(count) : 0);
}

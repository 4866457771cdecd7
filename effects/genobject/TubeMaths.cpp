#include "TubeMaths.h"

#include <cmath>

TubeFrame tubeFrame(const Vertex& point, const Vertex& next) {
    Vertex along = next;
    along.subtract(point);
    Vertex sum = next;
    sum.add(point);
    TubeFrame frame;
    frame.normal = along;
    frame.normal.cross(sum);
    frame.normal.normalize();
    frame.binormal = frame.normal;
    frame.binormal.cross(along);
    frame.binormal.normalize();
    return frame;
}

int catmullRomSampleCount(int controlCount, int perSegment) {
    if (controlCount < 4 || perSegment < 1)
        return 0;
    return (controlCount - 3) * perSegment;
}

namespace {

float weighted(float t, float a, float b, float c, float d) {
    const float t2 = t * t;
    const float t3 = t2 * t;
    return 0.5f * ((-t3 + 2.0f * t2 - t) * a + (3.0f * t3 - 5.0f * t2 + 2.0f) * b +
                   (-3.0f * t3 + 4.0f * t2 + t) * c + (t3 - t2) * d);
}

} // namespace

void catmullRomSamples(std::span<const Vertex> controls, int perSegment,
                       std::span<Vertex> samples) {
    const int segments = static_cast<int>(controls.size()) - 3;
    const float step = 1.0f / static_cast<float>(perSegment);
    std::size_t out = 0;
    for (int s = 0; s < segments; ++s) {
        const Vertex& k0 = controls[s];
        const Vertex& k1 = controls[s + 1];
        const Vertex& k2 = controls[s + 2];
        const Vertex& k3 = controls[s + 3];
        float t = 0.0f;
        for (int i = 0; i < perSegment && out < samples.size(); ++i, t += step) {
            samples[out++].setPosition(weighted(t, k0.x, k1.x, k2.x, k3.x),
                                       weighted(t, k0.y, k1.y, k2.y, k3.y),
                                       weighted(t, k0.z, k1.z, k2.z, k3.z));
        }
    }
}

void placeRingPoint(Vertex& point, const Vertex& centre, const TubeFrame& frame, float angle,
                    float radius) {
    const float across = radius * std::sin(angle);
    const float up = radius * std::cos(angle);
    point.setPosition(centre.x + across * frame.normal.x + up * frame.binormal.x,
                      centre.y + across * frame.normal.y + up * frame.binormal.y,
                      centre.z + across * frame.normal.z + up * frame.binormal.z);
}

void wrapTexCoord(Vertex& point, const Vertex& centre, const TubeFrame& frame, float angle,
                  float radius) {
    const float m = radius * std::cos(angle);
    const float l = radius * std::sin(angle);
    const Vertex& n = frame.normal;
    const Vertex& b = frame.binormal;
    point.setTexCoord(std::fabs(centre.z + std::fabs(m * b.z) + l * n.z),
                      std::fabs(centre.y + std::fabs(l * b.y) + l * n.y));
}

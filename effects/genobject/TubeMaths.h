#pragma once

#include "Vertex.h"

#include <span>

// The curve maths of the tubes: frames along a polyline, Catmull-Rom samples between control
// points, and rings of points swept around a frame.

// The two directions across the tube at `point`, seen towards `next`: with T = next - point and
// S = next + point, normal = |T x S| and binormal = |normal x T|. Points in line with the
// origin give non-finite vectors (the cross product is zero and normalize does not guard).
struct TubeFrame {
    Vertex normal;
    Vertex binormal;
};
TubeFrame tubeFrame(const Vertex& point, const Vertex& next);

// Samples per segment times (control points - 3): the curve runs from the second control point
// towards the last but one.
int catmullRomSampleCount(int controlCount, int perSegment);
// Fills `samples` (catmullRomSampleCount long) with `perSegment` samples of each segment, the
// first of each at its second control point. t steps in single precision, as it always has.
void catmullRomSamples(std::span<const Vertex> controls, int perSegment, std::span<Vertex> samples);

// The point of a ring around `centre` at `angle` and `radius`: centre + r sin(angle) normal +
// r cos(angle) binormal. Only the position is written.
void placeRingPoint(Vertex& point, const Vertex& centre, const TubeFrame& frame, float angle,
                    float radius);

// The texture coordinate the bundles' tentacles give a ring point, from its centre, frame,
// radius and angle. The absolute values fold the picture back on itself around the tube.
void wrapTexCoord(Vertex& point, const Vertex& centre, const TubeFrame& frame, float angle,
                  float radius);

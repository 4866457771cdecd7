#pragma once

#include "EffectInputs.h"
#include "SavableEffect.h"
#include "Texture.h"

#include <string_view>
#include <vector>

// A picture on a flat 20 x 20 grid over the whole (square) view, swirled inside a circle by
// moving the grid's texture coordinates: the twist grows over time, strongest at the centre and
// gone at the circle's edge. The first data string names the picture.
// Parameters, each group read only when complete: mode (0); radius (100); sine and cosine
// factors (0.3, 0.5); angle speed per second (2); texture gains (4, 4); centre (0, 0).
// "SetAlpha" with alpha, target and speed per second fades it, without a clamp.
class BitmapDistortion : public SavableEffect<BitmapDistortion> {
public:
    static constexpr std::string_view setAlpha = "SetAlpha";
    // What a script can hand it, stated for the effect and the checks of scripts alike.
    static constexpr EffectInputs inputs{{1, 2, 4, 5, 7, 9}, {{setAlpha, {3}}}};
    static constexpr std::string_view defaultPicture = "/source/Data/256/a000.jpg";
    static constexpr int columns = 20;
    static constexpr int rows = 20;
    static constexpr float depth = -110.0f;

    struct GridPoint {
        float x, y, z;
        float restU, restV;
    };
    struct TexCoord {
        float u, v;
    };

    explicit BitmapDistortion(const std::string& name);

    // Resets the fade and reloads: the parameters are read again at every init time.
    void init() override;
    void render() override;
    void trigger(const std::string& triggerId, const std::vector<float>& parameters) override;

    // Where a grid point samples the picture this frame. The grid's first point also moves the
    // swirl on by one frame of `delta` seconds.
    TexCoord texCoord(const GridPoint& point, float delta);

    const std::vector<GridPoint>& gridPoints() const { return grid; }
    int getMode() const { return mode; }
    float getAngle() const { return angle; }
    float getRadius() const { return radius; }
    float getSinFactor() const { return sinFactor; }
    float getCosFactor() const { return cosFactor; }
    float getSpeed() const { return speed; }
    float getScaleU() const { return scaleU; }
    float getScaleV() const { return scaleV; }
    float getCentreX() const { return centreX; }
    float getCentreY() const { return centreY; }
    float getAlpha() const { return alpha; }
    float getAlphaTarget() const { return alphaTarget; }
    float getAlphaSpeed() const { return alphaSpeed; }

    // What a saved copy holds besides the object, in bytes.
    std::size_t heapBytes() const { return vectorBytes(grid); }

private:
    // The GL settings every time; the picture and the parameters only while there is no
    // picture yet.
    void load();
    void readParameters();
    void buildGrid();
    void drawGrid();

    std::vector<GridPoint> grid;
    float xMax = 50.0f;
    float yMax = 50.0f;
    float xMin = -50.0f;
    float yMin = -50.0f;
    const Texture* texture = nullptr;
    int mode = 0;
    // Per object, and never reset: a second init time goes on swirling from where it stood.
    float angle = 0.0f;
    float radius = 100.0f;
    float sinFactor = 0.3f;
    float cosFactor = 0.5f;
    float speed = 2.0f;
    float scaleU = 4.0f;
    float scaleV = 4.0f;
    float centreX = 0.0f;
    float centreY = 0.0f;
};

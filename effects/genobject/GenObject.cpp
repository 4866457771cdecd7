#include "GenObject.h"

#include "EffectRules.h"
#include "PictureDrawing.h"
#include "TextureManager.h"
#include "genobject/BlobCube.h"
#include "genobject/CurveTube.h"
#include "genobject/GlowBundle.h"
#include "genobject/SplineTube.h"
#include "genobject/TentacleBundle.h"
#include "genobject/WobbleSphere.h"

#include <GL/gl.h>

const EffectInputs GenObject::inputs{{1},
                                     {{BlobCube::move},
                                      {TentacleBundle::startMove},
                                      {GlowBundle::startShake},
                                      {GlowBundle::stopShake}}};

GenObject::ProgramWide GenObject::programWide;

namespace {

// Everything the six kinds of object and the effect itself keep for the whole program.
struct ClassState {
    GenObject::ProgramWide own;
    CurveTube::Shared curveTube;
    TentacleBundle::Shared tentacleBundle;
    SplineTube::Shared splineTube;
    WobbleSphere::Shared wobbleSphere;
    GlowBundle::Shared glowBundle;
    BlobCube::Shared blobCube;
};

void applySettings() {
    glShadeModel(GL_FLAT);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

} // namespace

float GenObject::spinAngle() {
    return programWide.spin;
}

int GenObject::kindOf(const std::vector<float>& parameters) {
    return hasParameter(parameters, 0) ? integerParameter(parameters[0]) : defaultKind;
}

std::unique_ptr<GenShape> GenObject::makeShape(int kind) {
    switch (kind) {
    case 1: return std::make_unique<CurveTube>();
    case 2: return std::make_unique<TentacleBundle>();
    case 3: return std::make_unique<SplineTube>();
    case 4: return std::make_unique<WobbleSphere>();
    case 5: return std::make_unique<GlowBundle>();
    default: return std::make_unique<BlobCube>();
    }
}

void GenObject::init() {
    shape.reset();
    applySettings();
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    texture = TextureManager::instance()->pictureOrFallback(pictureName(data, defaultPicture));
    kind = kindOf(parameters);
    shape = makeShape(kind);
}

void GenObject::render() {
    if (!shape)
        init();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glClear(GL_DEPTH_BUFFER_BIT);
    applySettings();
    bindPicture(*texture);
    programWide.spin += 0.5f;
    glTranslatef(0.0f, 0.0f, -5.0f);
    glRotatef(programWide.spin, 1.0f, 1.0f, 1.0f);
    shape->draw();
}

std::shared_ptr<const EffectState> GenObject::saveClassState() const {
    return saveValue(ClassState{programWide, CurveTube::shared, TentacleBundle::shared,
                                SplineTube::shared, WobbleSphere::shared, GlowBundle::shared,
                                BlobCube::shared});
}

void GenObject::restoreClassState(const EffectState& state) {
    ClassState saved;
    restoreValue(saved, state);
    programWide = saved.own;
    CurveTube::shared = saved.curveTube;
    TentacleBundle::shared = saved.tentacleBundle;
    SplineTube::shared = saved.splineTube;
    WobbleSphere::shared = saved.wobbleSphere;
    GlowBundle::shared = saved.glowBundle;
    BlobCube::shared = saved.blobCube;
}

void GenObject::trigger(const std::string& triggerId, const std::vector<float>&) {
    if (shape)
        shape->trigger(triggerId);
}

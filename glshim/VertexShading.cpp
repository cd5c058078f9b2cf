#include "glshim/VertexShading.h"

#include <cmath>

namespace {

GLfloat clamp01(GLfloat x) {
    return x < 0.0f ? 0.0f : (x > 1.0f ? 1.0f : x);
}

}  // namespace

Rgba lightVertex(const Lighting& lighting, const Vector& eye, const Vector& normal) {
    GLfloat sum[3];
    for (int k = 0; k < 3; ++k) {
        sum[k] = lighting.emission.v[k] + lighting.sceneAmbient.v[k] * lighting.ambient.v[k];
    }
    const Vector towardsViewer(0.0, 0.0, 1.0);
    for (const Light& light : lighting.lights) {
        if (!light.enabled) {
            continue;
        }
        const Vector toLight = unit(light.w != 0.0 ? light.position * (1.0 / light.w) - eye : light.position);
        const auto diffuse = static_cast<GLfloat>(dot(normal, toLight));
        GLfloat specular = 0.0f;
        if (diffuse > 0.0f) {
            const auto facing = static_cast<GLfloat>(dot(normal, unit(toLight + towardsViewer)));
            specular = facing > 0.0f ? std::pow(facing, lighting.shininess) : 0.0f;
        }
        for (int k = 0; k < 3; ++k) {
            sum[k] += light.ambient.v[k] * lighting.ambient.v[k];
            if (diffuse > 0.0f) {
                sum[k] += diffuse * light.diffuse.v[k] * lighting.diffuse.v[k];
                sum[k] += specular * light.specular.v[k] * lighting.specular.v[k];
            }
        }
    }
    return Rgba{{clamp01(sum[0]), clamp01(sum[1]), clamp01(sum[2]), clamp01(lighting.diffuse.v[3])}};
}

int sphereMap(const Vector& eye, const Vector& normal, GLfloat& s, GLfloat& t) {
    const Vector u = unit(eye);
    const Vector r = u - normal * (2.0 * dot(normal, u));
    const double twiceM = 2.0 * (r + Vector(0.0, 0.0, 1.0)).length();
    if (!(twiceM > 0.0)) {
        return 0;
    }
    s = static_cast<GLfloat>(r.getX() / twiceM + 0.5);
    t = static_cast<GLfloat>(r.getY() / twiceM + 0.5);
    return 1;
}

#pragma once

// The per-vertex part of GL 1.1's fixed function that the page's GL lacks: the lighting equation
// and sphere-map texture coordinates, both in eye coordinates.

#include <GL/gl.h>

#include "geom/Vector.h"

struct Rgba {
    GLfloat v[4];
};

struct Light {
    Rgba ambient{{0.0f, 0.0f, 0.0f, 1.0f}};
    Rgba diffuse{{1.0f, 1.0f, 1.0f, 1.0f}};
    Rgba specular{{1.0f, 1.0f, 1.0f, 1.0f}};
    // In eye coordinates, as GL keeps it; with w 0 a direction.
    Vector position{0.0, 0.0, 1.0};
    double w = 0.0;
    bool enabled = false;
};

// GL's initial values.
struct Lighting {
    Rgba ambient{{0.2f, 0.2f, 0.2f, 1.0f}};
    Rgba diffuse{{0.8f, 0.8f, 0.8f, 1.0f}};
    Rgba specular{{0.0f, 0.0f, 0.0f, 1.0f}};
    Rgba emission{{0.0f, 0.0f, 0.0f, 1.0f}};
    GLfloat shininess = 0.0f;
    Rgba sceneAmbient{{0.2f, 0.2f, 0.2f, 1.0f}};
    Light lights[8];
};

// The colour of a vertex at `eye` with the normal as the normal matrix gave it (not normalised
// again): no attenuation, no spot lights, a viewer at infinity, front faces only.
Rgba lightVertex(const Lighting& lighting, const Vector& eye, const Vector& normal);

// GL_SPHERE_MAP's s and t; 0 (s and t untouched) where the reflection points straight back at
// the viewer, which has none.
int sphereMap(const Vector& eye, const Vector& normal, GLfloat& s, GLfloat& t);

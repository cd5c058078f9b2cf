#include "glshim/FixedFunction.h"

#include "glshim/PrimitiveIndices.h"

namespace {

// The emulation's vertex upload holds 2 MiB (about 58 000 vertices) and indices are 16 bits: a
// batch starts anew above the first figure, a group stops taking vertices at the second.
constexpr std::size_t batchFlushVertices = 16384;
constexpr std::size_t batchMaxVertices = 49152;

void copyRgba(Rgba& to, const GLfloat* values) {
    for (int k = 0; k < 4; ++k) {
        to.v[k] = values[k];
    }
}

// The colour of a light or of the material that `name` names; null for any other name.
Rgba* named(GLenum name, Rgba& ambient, Rgba& diffuse, Rgba& specular, Rgba* emission) {
    switch (name) {
        case GL_AMBIENT:
            return &ambient;
        case GL_DIFFUSE:
            return &diffuse;
        case GL_SPECULAR:
            return &specular;
        case GL_EMISSION:
            return emission;
        default:
            return nullptr;
    }
}

}  // namespace

int FixedFunction::recorded(const ListCall& call) {
    if (recording_ == 0) {
        return 0;
    }
    lists_[recording_].push_back(call);
    return executeWhileRecording_ ? 0 : 1;
}

void FixedFunction::applyColourMaterial() {
    if (!colourMaterial_) {
        return;
    }
    Lighting& l = lighting_;
    if (Rgba* one = named(colourMaterialMode_, l.ambient, l.diffuse, l.specular, &l.emission)) {
        *one = colour_;
    } else {
        l.ambient = colour_;
        l.diffuse = colour_;
    }
}

void FixedFunction::drawBatch() {
    if (!indices_.empty()) {
        backend_->draw(primitive_, vertices_.data(), vertices_.size(), indices_.data(), indices_.size());
    }
    vertices_.clear();
    indices_.clear();
    groupStart_ = 0;
}

void FixedFunction::knowModelView() {
    GLfloat m[16];
    backend_->readModelView(m);
    linear_ = Matrix33(m[0], m[4], m[8], m[1], m[5], m[9], m[2], m[6], m[10]);
    translation_ = Vector(m[12], m[13], m[14]);
    // Normals go through the inverse transpose.
    inverse(linear_, normalMatrix_).transpose();
    modelViewKnown_ = true;
}

void FixedFunction::begin(GLenum mode) {
    if (recorded({ListCall::Begin, mode, 0, 0, 0, 0})) {
        return;
    }
    if (!modelViewKnown_) {
        knowModelView();
    }
    if (indexedPrimitive(mode) != primitive_ || vertices_.size() >= batchFlushVertices) {
        drawBatch();
    }
    primitive_ = indexedPrimitive(mode);
    groupStart_ = vertices_.size();
    groupMode_ = mode;
    inside_ = true;
}

void FixedFunction::end() {
    if (recorded({ListCall::End, 0, 0, 0, 0, 0})) {
        return;
    }
    if (inside_) {
        appendPrimitiveIndices(groupMode_, groupStart_, vertices_.size() - groupStart_, indices_);
    }
    inside_ = false;
}

void FixedFunction::vertex(GLfloat x, GLfloat y, GLfloat z) {
    if (recorded({ListCall::Vertex, 0, x, y, z, 0}) || !inside_ || vertices_.size() >= batchMaxVertices) {
        return;
    }
    const Vector eye = linear_ * Vector(x, y, z) + translation_;
    const Vector n = normalMatrix_ * normal_;
    const Rgba c = lightingOn_ ? lightVertex(lighting_, eye, n) : colour_;
    GLfloat st[2] = {texCoord_[0], texCoord_[1]};
    GLfloat sphere[2];
    if (((texGen_[0] && texGenMode_[0] == GL_SPHERE_MAP) ||
         (texGen_[1] && texGenMode_[1] == GL_SPHERE_MAP)) &&
        sphereMap(eye, n, sphere[0], sphere[1])) {
        for (int k = 0; k < 2; ++k) {
            if (texGen_[k]) {
                st[k] = sphere[k];
            }
        }
    }
    vertices_.push_back({x, y, z, c.v[0], c.v[1], c.v[2], c.v[3], st[0], st[1]});
}

void FixedFunction::normal(GLfloat x, GLfloat y, GLfloat z) {
    if (!recorded({ListCall::Normal, 0, x, y, z, 0})) {
        normal_ = Vector(x, y, z);
    }
}

void FixedFunction::texCoord(GLfloat s, GLfloat t) {
    if (!recorded({ListCall::TexCoord, 0, s, t, 0, 0})) {
        texCoord_[0] = s;
        texCoord_[1] = t;
    }
}

void FixedFunction::colour(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    if (!recorded({ListCall::Colour, 0, r, g, b, a})) {
        colour_ = Rgba{{r, g, b, a}};
        applyColourMaterial();
    }
}

int FixedFunction::setCapability(GLenum cap, bool on) {
    if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + 8) {
        lighting_.lights[cap - GL_LIGHT0].enabled = on;
        return 1;
    }
    switch (cap) {
        case GL_LIGHTING:
            lightingOn_ = on;
            return 1;
        case GL_COLOR_MATERIAL:
            colourMaterial_ = on;
            applyColourMaterial();
            return 1;
        case GL_TEXTURE_GEN_S:
            texGen_[0] = on;
            return 1;
        case GL_TEXTURE_GEN_T:
            texGen_[1] = on;
            return 1;
        case GL_NORMALIZE:
            return 1;
        default:
            return 0;
    }
}

void FixedFunction::light(GLenum light, GLenum name, const GLfloat* values) {
    if (light < GL_LIGHT0 || light >= GL_LIGHT0 + 8) {
        return;
    }
    Light& target = lighting_.lights[light - GL_LIGHT0];
    if (Rgba* colour = named(name, target.ambient, target.diffuse, target.specular, nullptr)) {
        copyRgba(*colour, values);
    } else if (name == GL_POSITION) {
        // Through the modelview of the moment, as GL keeps it.
        knowModelView();
        target.w = values[3];
        target.position = linear_ * Vector(values[0], values[1], values[2]) + translation_ * target.w;
    }
}

void FixedFunction::lightModel(GLenum name, const GLfloat* values) {
    if (name == GL_LIGHT_MODEL_AMBIENT) {
        copyRgba(lighting_.sceneAmbient, values);
    }
}

void FixedFunction::material(GLenum name, const GLfloat* values) {
    Lighting& l = lighting_;
    if (Rgba* colour = named(name, l.ambient, l.diffuse, l.specular, &l.emission)) {
        copyRgba(*colour, values);
    } else if (name == GL_AMBIENT_AND_DIFFUSE) {
        copyRgba(l.ambient, values);
        copyRgba(l.diffuse, values);
    } else if (name == GL_SHININESS) {
        l.shininess = values[0];
    }
}

void FixedFunction::colourMaterial(GLenum mode) {
    colourMaterialMode_ = mode;
    applyColourMaterial();
}

void FixedFunction::texGen(GLenum coord, GLenum name, GLint value) {
    if (name == GL_TEXTURE_GEN_MODE && (coord == GL_S || coord == GL_T)) {
        texGenMode_[coord == GL_S ? 0 : 1] = value;
    }
}

GLuint FixedFunction::genLists(GLsizei range) {
    const GLuint first = nextList_;
    for (GLsizei i = 0; i < range; ++i) {
        lists_[nextList_++];
    }
    return range > 0 ? first : 0;
}

void FixedFunction::newList(GLuint list, GLenum mode) {
    lists_[list].clear();
    recording_ = list;
    executeWhileRecording_ = mode == GL_COMPILE_AND_EXECUTE;
}

void FixedFunction::endList() {
    recording_ = 0;
    executeWhileRecording_ = false;
}

void FixedFunction::callList(GLuint list) {
    const auto found = lists_.find(list);
    if (found == lists_.end()) {
        return;
    }
    for (const ListCall& call : found->second) {
        switch (call.kind) {
            case ListCall::Begin:
                begin(call.mode);
                break;
            case ListCall::End:
                end();
                break;
            case ListCall::Vertex:
                vertex(call.a, call.b, call.c);
                break;
            case ListCall::Normal:
                normal(call.a, call.b, call.c);
                break;
            case ListCall::TexCoord:
                texCoord(call.a, call.b);
                break;
            case ListCall::Colour:
                colour(call.a, call.b, call.c, call.d);
                break;
        }
    }
}

void FixedFunction::deleteLists(GLuint list, GLsizei range) {
    for (GLsizei i = 0; i < range; ++i) {
        lists_.erase(list + static_cast<GLuint>(i));
    }
}

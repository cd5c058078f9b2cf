#pragma once

// What the page's GL (a legacy-GL emulation over WebGL) lacks, done in front of it: display
// lists, lighting with a positional light and colour material, sphere-map texture coordinates,
// quad strips, texture formats given as component counts, and every vertex carrying the same
// attributes. FixedFunction keeps that state and batches the vertices, lit and with their texture
// coordinates, into one indexed draw per run of groups; every other GL call the drawing sources
// make comes here too (the list below) and draws the batch before it reaches the emulation, so
// state changes keep their order with the vertices.
//
// The page build includes this header ahead of every source that draws (the renderer and GLU's
// quadrics), so their calls come here unchanged; the native build never sees it.

#include <GL/gl.h>

#ifdef __cplusplus
extern "C" {
#endif

void torvelGlBegin(GLenum mode);
void torvelGlEnd(void);
void torvelGlVertex3f(GLfloat x, GLfloat y, GLfloat z);
void torvelGlNormal3f(GLfloat x, GLfloat y, GLfloat z);
void torvelGlTexCoord2f(GLfloat s, GLfloat t);
void torvelGlColor3f(GLfloat r, GLfloat g, GLfloat b);
void torvelGlColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void torvelGlEnable(GLenum cap);
void torvelGlDisable(GLenum cap);
void torvelGlLightfv(GLenum light, GLenum name, const GLfloat* values);
void torvelGlLightModelfv(GLenum name, const GLfloat* values);
void torvelGlMaterialfv(GLenum face, GLenum name, const GLfloat* values);
void torvelGlColorMaterial(GLenum face, GLenum mode);
void torvelGlTexGeni(GLenum coord, GLenum name, GLint value);
void torvelGlShadeModel(GLenum mode);
void torvelGlHint(GLenum target, GLenum mode);
GLuint torvelGlGenLists(GLsizei range);
void torvelGlNewList(GLuint list, GLenum mode);
void torvelGlEndList(void);
void torvelGlCallList(GLuint list);
void torvelGlDeleteLists(GLuint list, GLsizei range);
void torvelGlGenTextures(GLsizei count, GLuint* names);
void torvelGlDeleteTextures(GLsizei count, const GLuint* names);
void torvelGlTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                        GLint border, GLenum format, GLenum type, const void* pixels);

// The calls that only draw the batch first: return type, name without its gl, parameters,
// arguments.
#define TORVEL_GL_BATCH_BARRIERS(X)                                                             \
    X(void, BindTexture, (GLenum target, GLuint texture), (target, texture))                    \
    X(void, TexParameteri, (GLenum target, GLenum name, GLint value), (target, name, value))    \
    X(void, PixelStorei, (GLenum name, GLint value), (name, value))                             \
    X(void, BlendFunc, (GLenum source, GLenum destination), (source, destination))              \
    X(void, StencilOp, (GLenum fail, GLenum depthFail, GLenum pass), (fail, depthFail, pass))   \
    X(void, StencilFunc, (GLenum func, GLint ref, GLuint mask), (func, ref, mask))              \
    X(void, DepthMask, (GLboolean flag), (flag))                                                \
    X(void, DepthFunc, (GLenum func), (func))                                                   \
    X(void, ColorMask, (GLboolean r, GLboolean g, GLboolean b, GLboolean a), (r, g, b, a))      \
    X(void, ClearColor, (GLclampf r, GLclampf g, GLclampf b, GLclampf a), (r, g, b, a))         \
    X(void, ClearDepth, (GLclampd depth), (depth))                                              \
    X(void, ClearStencil, (GLint value), (value))                                               \
    X(void, Clear, (GLbitfield mask), (mask))                                                   \
    X(void, Viewport, (GLint x, GLint y, GLsizei width, GLsizei height), (x, y, width, height)) \
    X(void, ClipPlane, (GLenum plane, const GLdouble* equation), (plane, equation))             \
    X(void, Flush, (void), ())                                                                  \
    X(void, Finish, (void), ())                                                                 \
    X(void, GetIntegerv, (GLenum name, GLint * values), (name, values))                         \
    X(void, GetFloatv, (GLenum name, GLfloat * values), (name, values))                         \
    X(void, MatrixMode, (GLenum mode), (mode))                                                  \
    X(void, LoadIdentity, (void), ())                                                           \
    X(void, PushMatrix, (void), ())                                                             \
    X(void, PopMatrix, (void), ())                                                              \
    X(void, LoadMatrixf, (const GLfloat* m), (m))                                               \
    X(void, MultMatrixf, (const GLfloat* m), (m))                                               \
    X(void, MultMatrixd, (const GLdouble* m), (m))                                              \
    X(void, Translatef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))                           \
    X(void, Translated, (GLdouble x, GLdouble y, GLdouble z), (x, y, z))                        \
    X(void, Rotatef, (GLfloat angle, GLfloat x, GLfloat y, GLfloat z), (angle, x, y, z))        \
    X(void, Scalef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))                               \
    X(void, Ortho, (GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f),    \
      (l, r, b, t, n, f))

#define TORVEL_GL_DECLARE_BARRIER(type, name, parameters, arguments) type torvelGl##name parameters;
TORVEL_GL_BATCH_BARRIERS(TORVEL_GL_DECLARE_BARRIER)
#undef TORVEL_GL_DECLARE_BARRIER

// A page's context comes back as the same WebGL context with its objects and state: this
// deletes every texture and list made so far and puts the state back to a new context's.
void torvelGlReset(void);

#ifdef __cplusplus
}
#endif

#ifndef TORVEL_GL_SHIM_IMPLEMENTATION
#define glBegin torvelGlBegin
#define glEnd torvelGlEnd
#define glVertex3f torvelGlVertex3f
#define glNormal3f torvelGlNormal3f
#define glTexCoord2f torvelGlTexCoord2f
#define glColor3f torvelGlColor3f
#define glColor4f torvelGlColor4f
#define glEnable torvelGlEnable
#define glDisable torvelGlDisable
#define glLightfv torvelGlLightfv
#define glLightModelfv torvelGlLightModelfv
#define glMaterialfv torvelGlMaterialfv
#define glColorMaterial torvelGlColorMaterial
#define glTexGeni torvelGlTexGeni
#define glShadeModel torvelGlShadeModel
#define glHint torvelGlHint
#define glGenLists torvelGlGenLists
#define glNewList torvelGlNewList
#define glEndList torvelGlEndList
#define glCallList torvelGlCallList
#define glDeleteLists torvelGlDeleteLists
#define glGenTextures torvelGlGenTextures
#define glDeleteTextures torvelGlDeleteTextures
#define glTexImage2D torvelGlTexImage2D
#define glBindTexture torvelGlBindTexture
#define glTexParameteri torvelGlTexParameteri
#define glPixelStorei torvelGlPixelStorei
#define glBlendFunc torvelGlBlendFunc
#define glStencilOp torvelGlStencilOp
#define glStencilFunc torvelGlStencilFunc
#define glDepthMask torvelGlDepthMask
#define glDepthFunc torvelGlDepthFunc
#define glColorMask torvelGlColorMask
#define glClearColor torvelGlClearColor
#define glClearDepth torvelGlClearDepth
#define glClearStencil torvelGlClearStencil
#define glClear torvelGlClear
#define glViewport torvelGlViewport
#define glClipPlane torvelGlClipPlane
#define glFlush torvelGlFlush
#define glFinish torvelGlFinish
#define glGetIntegerv torvelGlGetIntegerv
#define glGetFloatv torvelGlGetFloatv
#define glMatrixMode torvelGlMatrixMode
#define glLoadIdentity torvelGlLoadIdentity
#define glPushMatrix torvelGlPushMatrix
#define glPopMatrix torvelGlPopMatrix
#define glLoadMatrixf torvelGlLoadMatrixf
#define glMultMatrixf torvelGlMultMatrixf
#define glMultMatrixd torvelGlMultMatrixd
#define glTranslatef torvelGlTranslatef
#define glTranslated torvelGlTranslated
#define glRotatef torvelGlRotatef
#define glScalef torvelGlScalef
#define glOrtho torvelGlOrtho
#endif

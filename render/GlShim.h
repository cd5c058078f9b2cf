#pragma once

// What the page's GL (a legacy-GL emulation over WebGL) lacks, done in front of it: display
// lists, lighting with a positional light and colour material, sphere-map texture coordinates,
// quad strips, texture formats given as component counts, and every vertex carrying the same
// attributes. Lighting and texture coordinates are computed per vertex here, the way GL 1.1
// defines them, and reach the emulation as plain coloured, textured vertices.
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
#endif

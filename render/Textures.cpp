#include "render/Textures.h"

#include <cstdio>
#include <cstdlib>
#include <new>

#include "render/DataRoot.h"
#include "render/Image.h"

GLuint textureNames[4] = {0, 0, 0, 0};

namespace {

constexpr int imageCount = 4;
const char* const fileNames[imageCount] = {"data/marble.bmp", "data/spark.bmp", "data/boden.bmp",
                                           "data/wand.bmp"};

void freeImages(Image* images[imageCount]) {
    for (int i = 0; i < imageCount; ++i) {
        if (images[i] != nullptr) {
            std::free(images[i]->pixels);
            delete images[i];
            images[i] = nullptr;
        }
    }
}

// Frees what was loaded so far and ends the process; exit flushes standard output.
[[noreturn]] void fail(Image* images[imageCount]) {
    freeImages(images);
    std::exit(1);
}

void upload(GLuint name, const Image& image) {
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, 0, 3, static_cast<GLsizei>(image.width), static_cast<GLsizei>(image.height),
                 0, GL_RGB, GL_UNSIGNED_BYTE, image.pixels);
}

}  // namespace

void loadTextures() {
    Image* images[imageCount] = {nullptr, nullptr, nullptr, nullptr};
    for (int i = 0; i < imageCount; ++i) {
        images[i] = new (std::nothrow) Image{};
        if (images[i] == nullptr) {
            std::printf("Error allocating space for image");
            fail(images);
        }
    }

    // The pixel rows are packed, and a larger picture than the context takes would be read past its end.
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    const std::uint32_t maxDimension = maxSize > 0 ? static_cast<std::uint32_t>(maxSize) : 0;
    for (int i = 0; i < imageCount; ++i) {
        if (loadBitmap(dataPath(fileNames[i]).c_str(), *images[i], maxDimension) == 0) {
            fail(images);
        }
    }

    GLint oldAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &oldAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(2, &textureNames[0]);
    upload(textureNames[0], *images[0]);
    upload(textureNames[1], *images[1]);
    glGenTextures(2, &textureNames[2]);
    upload(textureNames[2], *images[2]);
    upload(textureNames[3], *images[3]);
    glPixelStorei(GL_UNPACK_ALIGNMENT, oldAlignment);

    freeImages(images);
}

void deleteTextures() {
    glDeleteTextures(4, textureNames);
    for (GLuint& name : textureNames) {
        name = 0;
    }
}

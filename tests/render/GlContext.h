#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A hidden window with the program's pixel format and a current legacy OpenGL context, on SDL's
// offscreen driver, so that the rendering tests need no display.
class GlContext {
  public:
    GlContext() = default;
    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;
    ~GlContext() { close(); }

    bool open(int width, int height, std::string& error);
    void close();
    void swap();

    int width() const { return width_; }
    int height() const { return height_; }

    // The back buffer, bottom row first, 3 bytes per pixel.
    std::vector<std::uint8_t> readColour() const;
    // The stencil buffer, bottom row first, one byte per pixel.
    std::vector<std::uint8_t> readStencil() const;

  private:
    void* window_ = nullptr;
    void* context_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The checks behind the fuzz targets and the regression replay: each runs the real reader on the
// given bytes and returns an empty string, or what went wrong.

// Vector, Ray and Matrix33 read from the bytes, each alone and chained on one stream.
std::string checkTextForms(const std::uint8_t* data, std::size_t size);

// loadBitmap on a file holding the bytes, its standard-output lines compared with the header.
std::string checkBitmap(const std::uint8_t* data, std::size_t size);

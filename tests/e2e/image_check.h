#pragma once

// Independent readers for the stand-in's image files, to check them without
// trusting the stand-in's encoders: a PNG of stored deflate blocks and a
// 24-bit BMP, both decoded to top-down RGB rows.

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

// Checks the signature, every chunk's CRC, IHDR (8-bit RGB), the zlib header,
// the stored blocks, the Adler-32 and filter bytes 0. Sets `error` and returns
// false at the first fault.
bool DecodeStoredPng(const std::string& bytes, DecodedImage& image, std::string& error);
// Checks "BM", the sizes and a 40-byte header of a 24-bit uncompressed image.
bool DecodeBmp24(const std::string& bytes, DecodedImage& image, std::string& error);

}  // namespace e2e

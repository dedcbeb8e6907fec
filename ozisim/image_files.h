#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The two image files the stand-in writes for oziSaveMapImage, encoded here
// rather than through a system library so that the same pixels always give
// the same bytes.

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // rows top to bottom, 3 bytes (R, G, B) per pixel
};

// PNG, 8-bit RGB, no interlace. The zlib stream holds only uncompressed
// ("stored") blocks: no compression, but nothing to get wrong.
// Layout: signature, IHDR, one IDAT, IEND; each chunk is a 32-bit big-endian
// length, the type, the data and a CRC-32 of type and data.
std::vector<std::uint8_t> EncodePng(const RgbImage& image);

// BMP, 24 bits per pixel, bottom-up rows padded to 4 bytes: a 14-byte file
// header ("BM", file size, 0, offset 54) and a 40-byte BITMAPINFOHEADER.
std::vector<std::uint8_t> EncodeBmp(const RgbImage& image);

// CRC-32 as PNG and zip use it (reflected, polynomial 0xEDB88320).
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);

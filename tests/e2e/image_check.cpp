#include "tests/e2e/image_check.h"

namespace e2e {

namespace {

std::uint32_t BigEndian32(const std::string& bytes, std::size_t at) {
    return (std::uint32_t{static_cast<std::uint8_t>(bytes[at])} << 24) |
           (std::uint32_t{static_cast<std::uint8_t>(bytes[at + 1])} << 16) |
           (std::uint32_t{static_cast<std::uint8_t>(bytes[at + 2])} << 8) |
           std::uint32_t{static_cast<std::uint8_t>(bytes[at + 3])};
}

std::uint32_t LittleEndian(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

// Bit by bit, unlike the table-driven encoder.
std::uint32_t SlowCrc32(const std::string& bytes, std::size_t at, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = at; i < at + size; ++i) {
        crc ^= static_cast<std::uint8_t>(bytes[i]);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ ((crc & 1) ? 0xEDB88320u : 0u);
        }
    }
    return ~crc;
}

bool Fail(std::string& error, const std::string& text) {
    error = text;
    return false;
}

}  // namespace

bool DecodeStoredPng(const std::string& bytes, DecodedImage& image, std::string& error) {
    static const std::string kSignature("\x89PNG\r\n\x1a\n", 8);
    if (bytes.compare(0, 8, kSignature) != 0) {
        return Fail(error, "no PNG signature");
    }
    std::string zlib;
    bool header = false;
    bool end = false;
    std::size_t at = 8;
    while (!end) {
        if (at + 12 > bytes.size()) {
            return Fail(error, "truncated chunk");
        }
        const std::uint32_t length = BigEndian32(bytes, at);
        if (length > bytes.size() - at - 12) {
            return Fail(error, "chunk longer than the file");
        }
        const std::string type = bytes.substr(at + 4, 4);
        if (SlowCrc32(bytes, at + 4, 4 + length) != BigEndian32(bytes, at + 8 + length)) {
            return Fail(error, "bad CRC in " + type);
        }
        const std::string data = bytes.substr(at + 8, length);
        if (type == "IHDR") {
            if (length != 13 || data.substr(8) != std::string("\x08\x02\x00\x00\x00", 5)) {
                return Fail(error, "IHDR is not 8-bit RGB without interlace");
            }
            image.width = static_cast<int>(BigEndian32(data, 0));
            image.height = static_cast<int>(BigEndian32(data, 4));
            header = true;
        } else if (type == "IDAT") {
            zlib += data;
        } else if (type == "IEND") {
            end = true;
        }
        at += 12 + length;
    }
    if (!header || at != bytes.size()) {
        return Fail(error, "no IHDR, or bytes after IEND");
    }
    if (zlib.size() < 6 ||
        (static_cast<std::uint8_t>(zlib[0]) * 256u + static_cast<std::uint8_t>(zlib[1])) % 31 !=
            0 ||
        (zlib[0] & 0x0F) != 8) {
        return Fail(error, "bad zlib header");
    }
    std::string raw;
    std::size_t z = 2;
    for (bool last = false; !last;) {
        if (z + 5 > zlib.size() || (zlib[z] & 0x06) != 0) {
            return Fail(error, "not a stored block");
        }
        last = (zlib[z] & 1) != 0;
        const std::uint32_t size = LittleEndian(zlib, z + 1, 2);
        if ((size ^ LittleEndian(zlib, z + 3, 2)) != 0xFFFF || z + 5 + size > zlib.size()) {
            return Fail(error, "bad stored block length");
        }
        raw += zlib.substr(z + 5, size);
        z += 5 + size;
    }
    if (z + 4 != zlib.size()) {
        return Fail(error, "zlib stream length");
    }
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const char c : raw) {
        a = (a + static_cast<std::uint8_t>(c)) % 65521;
        b = (b + a) % 65521;
    }
    if (((b << 16) | a) != BigEndian32(zlib, z)) {
        return Fail(error, "bad Adler-32");
    }
    const std::size_t row = 1 + 3 * static_cast<std::size_t>(image.width);
    if (raw.size() != row * static_cast<std::size_t>(image.height)) {
        return Fail(error, "pixel data size");
    }
    image.rgb.clear();
    for (std::size_t y = 0; y < static_cast<std::size_t>(image.height); ++y) {
        if (raw[y * row] != 0) {
            return Fail(error, "filter type not 0");
        }
        image.rgb.insert(image.rgb.end(), raw.begin() + static_cast<std::ptrdiff_t>(y * row + 1),
                         raw.begin() + static_cast<std::ptrdiff_t>((y + 1) * row));
    }
    return true;
}

bool DecodeBmp24(const std::string& bytes, DecodedImage& image, std::string& error) {
    if (bytes.size() < 54 || bytes.compare(0, 2, "BM") != 0) {
        return Fail(error, "no BMP header");
    }
    if (LittleEndian(bytes, 2, 4) != bytes.size() || LittleEndian(bytes, 10, 4) != 54 ||
        LittleEndian(bytes, 14, 4) != 40 || LittleEndian(bytes, 26, 2) != 1 ||
        LittleEndian(bytes, 28, 2) != 24 || LittleEndian(bytes, 30, 4) != 0) {
        return Fail(error, "header fields");
    }
    image.width = static_cast<int>(LittleEndian(bytes, 18, 4));
    image.height = static_cast<int>(LittleEndian(bytes, 22, 4));
    const std::size_t width = static_cast<std::size_t>(image.width);
    const std::size_t height = static_cast<std::size_t>(image.height);
    const std::size_t stride = (3 * width + 3) / 4 * 4;
    if (image.width <= 0 || image.height <= 0 || 54 + stride * height != bytes.size()) {
        return Fail(error, "pixel data size");
    }
    image.rgb.assign(3 * width * height, 0);
    for (std::size_t y = 0; y < height; ++y) {
        const std::size_t from = 54 + (height - 1 - y) * stride;
        for (std::size_t x = 0; x < width; ++x) {
            for (std::size_t c = 0; c < 3; ++c) {
                image.rgb[3 * (y * width + x) + c] =
                    static_cast<std::uint8_t>(bytes[from + 3 * x + 2 - c]);
            }
        }
    }
    return true;
}

}  // namespace e2e

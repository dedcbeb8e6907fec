#include "ozisim/image_files.h"

#include <algorithm>
#include <array>

namespace {

void PutBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 24));
    out.push_back(static_cast<std::uint8_t>(value >> 16));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void PutLittleEndian16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutLittleEndian32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    PutLittleEndian16(out, value & 0xFFFF);
    PutLittleEndian16(out, value >> 16);
}

void PutChunk(std::vector<std::uint8_t>& out, const char (&type)[5],
              const std::vector<std::uint8_t>& data) {
    PutBigEndian32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian32(out, Crc32(out.data() + typeAt, 4 + data.size()));
}

std::uint32_t Adler32(const std::vector<std::uint8_t>& data) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

// zlib header (deflate, 32 KiB window, no dictionary), stored blocks of at
// most 65535 bytes, Adler-32 of the raw data.
std::vector<std::uint8_t> ZlibStored(const std::vector<std::uint8_t>& raw) {
    std::vector<std::uint8_t> out{0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t size = std::min<std::size_t>(65535, raw.size() - at);
        const bool last = at + size == raw.size();
        out.push_back(last ? 1 : 0);
        PutLittleEndian16(out, static_cast<std::uint32_t>(size));
        PutLittleEndian16(out, static_cast<std::uint32_t>(~size & 0xFFFF));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                   raw.begin() + static_cast<std::ptrdiff_t>(at + size));
        at += size;
    } while (at < raw.size());
    PutBigEndian32(out, Adler32(raw));
    return out;
}

}  // namespace

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

std::vector<std::uint8_t> EncodePng(const RgbImage& image) {
    const auto width = static_cast<std::size_t>(image.width);
    const auto height = static_cast<std::size_t>(image.height);
    std::vector<std::uint8_t> raw;
    raw.reserve(height * (1 + 3 * width));
    for (std::size_t y = 0; y < height; ++y) {
        raw.push_back(0);  // filter type None
        const auto row = image.rgb.begin() + static_cast<std::ptrdiff_t>(y * 3 * width);
        raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(3 * width));
    }

    std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutBigEndian32(header, static_cast<std::uint32_t>(width));
    PutBigEndian32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // depth 8, RGB, deflate, filter 0, no interlace
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", ZlibStored(raw));
    PutChunk(out, "IEND", {});
    return out;
}

std::vector<std::uint8_t> EncodeBmp(const RgbImage& image) {
    const auto width = static_cast<std::size_t>(image.width);
    const auto height = static_cast<std::size_t>(image.height);
    const std::size_t stride = (3 * width + 3) & ~std::size_t{3};
    const auto pixelBytes = static_cast<std::uint32_t>(stride * height);

    std::vector<std::uint8_t> out{'B', 'M'};
    PutLittleEndian32(out, 54 + pixelBytes);
    PutLittleEndian32(out, 0);
    PutLittleEndian32(out, 54);
    PutLittleEndian32(out, 40);
    PutLittleEndian32(out, static_cast<std::uint32_t>(width));
    PutLittleEndian32(out, static_cast<std::uint32_t>(height));  // positive: bottom-up
    PutLittleEndian16(out, 1);                                   // planes
    PutLittleEndian16(out, 24);                                  // bits per pixel
    PutLittleEndian32(out, 0);                                   // BI_RGB
    PutLittleEndian32(out, pixelBytes);
    PutLittleEndian32(out, 2835);  // 72 dpi
    PutLittleEndian32(out, 2835);
    PutLittleEndian32(out, 0);
    PutLittleEndian32(out, 0);
    for (std::size_t y = height; y-- > 0;) {
        const std::uint8_t* row = image.rgb.data() + y * 3 * width;
        for (std::size_t x = 0; x < width; ++x) {
            out.push_back(row[3 * x + 2]);
            out.push_back(row[3 * x + 1]);
            out.push_back(row[3 * x]);
        }
        out.insert(out.end(), stride - 3 * width, 0);
    }
    return out;
}

#pragma once

#include <concepts>
#include <cstddef>

// Numbers in files are little-endian, whatever the processor's order: the
// low byte first. Compilers turn these loops into one load or store.

template <std::unsigned_integral T>
constexpr T ReadLittleEndian(const unsigned char* bytes) {
    T value = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) {
        value = static_cast<T>(value << 8 | bytes[i]);
    }
    return value;
}

template <std::unsigned_integral T>
T ReadLittleEndian(const char* bytes) {
    return ReadLittleEndian<T>(reinterpret_cast<const unsigned char*>(bytes));
}

template <std::unsigned_integral T>
constexpr void WriteLittleEndian(unsigned char* out, T value) {
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        out[i] = static_cast<unsigned char>(value >> (8 * i) & 0xFF);
    }
}

#pragma once
// Little-endian field access for the game's binary files. Every field is moved byte by byte, so
// neither the host's byte order nor the in-memory layout of a record reaches the disk.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavo::bytes {

inline uint32_t getU32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
inline int16_t getI16(const uint8_t* p) {
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8));
}
inline int32_t getI32(const uint8_t* p) {
    return static_cast<int32_t>(getU32(p));
}
inline float getF32(const uint8_t* p) {
    return std::bit_cast<float>(getU32(p));
}
inline int8_t getI8(const uint8_t* p) {
    return static_cast<int8_t>(p[0]);
}

inline void putU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}
inline void putI16(std::vector<uint8_t>& out, int16_t value) {
    auto bits = static_cast<uint16_t>(value);
    out.push_back(static_cast<uint8_t>(bits));
    out.push_back(static_cast<uint8_t>(bits >> 8));
}
inline void putF32(std::vector<uint8_t>& out, float value) {
    putU32(out, std::bit_cast<uint32_t>(value));
}
inline void putI8(std::vector<uint8_t>& out, int8_t value) {
    out.push_back(static_cast<uint8_t>(value));
}

} // namespace tavo::bytes

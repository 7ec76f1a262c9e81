#pragma once
// Little-endian numbers put into a byte buffer, for tests that write bitmap
// and wave files byte by byte.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pellox {

using Bytes = std::vector<std::uint8_t>;

inline void Put16(Bytes& b, unsigned v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}

inline void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// Overwrites the four bytes at `at`.
inline void Patch32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace pellox

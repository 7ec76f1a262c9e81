#include "engine/record_codec.h"

namespace pellox {
namespace {

std::uint32_t Pair(std::uint32_t value, int k) { return (value >> (2 * k)) & 3u; }
std::uint32_t Parity(std::uint32_t pair) { return (pair ^ (pair >> 1)) & 1u; }

}  // namespace

std::uint32_t EncodeRecord(std::uint16_t score) {
    std::uint32_t code = 0;
    for (int g = 0; g < 8; ++g) {
        const std::uint32_t group = Parity(Pair(score, g)) * 4 + Pair(score, 7 - g);
        code |= group << (3 * g);
    }
    return code;
}

std::uint16_t DecodeRecord(std::uint32_t code) {
    std::uint32_t value = 0;
    std::uint32_t parity_bits = 0;
    for (int g = 0; g < 8; ++g) {
        const std::uint32_t group = (code >> (3 * g)) & 7u;
        value |= (group & 3u) << (2 * (7 - g));
        parity_bits |= (group >> 2) << g;
    }
    for (int k = 0; k < 8; ++k) {
        if (((parity_bits >> k) & 1u) != Parity(Pair(value, k))) return 0;
    }
    return static_cast<std::uint16_t>(value);
}

}  // namespace pellox

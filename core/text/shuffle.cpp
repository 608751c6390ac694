#include "core/text/shuffle.h"

namespace {

// A 32-bit mixer (each bit of the input changes about half the bits of the output).
std::uint32_t mix(std::uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

// A balanced Feistel network over the 2h-bit numbers: a permutation of them for any key.
std::uint32_t feistel(std::uint32_t key, unsigned halfBits, std::uint32_t x)
{
    const std::uint32_t mask = (std::uint32_t(1) << halfBits) - 1;
    std::uint32_t left = x >> halfBits, right = x & mask;
    for (std::uint32_t round = 0; round < 4; ++round) {
        const std::uint32_t next = left ^ (mix(key ^ (round * 0x9E3779B9u) ^ right) & mask);
        left = right;
        right = next;
    }
    return (left << halfBits) | right;
}

}  // namespace

std::uint32_t permutedIndex(std::uint32_t key, std::uint32_t count, std::uint32_t position)
{
    // The smallest even number of bits whose range holds every entry: at most four times the count,
    // so a walk past the numbers beyond the count takes a few steps on the average.
    unsigned halfBits = 1;
    while (halfBits < 16 && (std::uint64_t(1) << (2 * halfBits)) < count) ++halfBits;
    std::uint32_t x = position;
    do {
        x = feistel(key, halfBits, x);
    } while (x >= count);
    return x;
}

std::uint32_t nextShuffled(ShuffleState& state, std::uint32_t count, std::uint32_t shown,
                           const std::function<std::uint32_t()>& newKey)
{
    if (count == 0) return 0;
    if (state.count != count || state.position >= count) {
        state.count = count;
        state.key = newKey();
        state.position = 0;
        state.swapFirst = count > 1 && permutedIndex(state.key, count, 0) == shown;
    }
    std::uint32_t place = state.position++;
    if (state.swapFirst && place < 2) place = 1 - place;
    return permutedIndex(state.key, count, place);
}

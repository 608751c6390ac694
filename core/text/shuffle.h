#pragma once
// Shuffle: random steps that show every entry once a round, in an order of its own each round. A
// round is a keyed permutation of 0 .. count - 1, so its state is a few numbers, not a list: the
// settings file keeps it, and a restart goes on with the round where it was.
#include <cstdint>
#include <functional>

struct ShuffleState {
    std::uint32_t count = 0;      // the entries the round is for; another count starts a new round
    std::uint32_t key = 0;        // the round's order
    std::uint32_t position = 0;   // entries of the round shown so far
    bool swapFirst = false;       // the round's first two places are swapped, so that a round never
                                  // starts with the entry shown just before it
};

// The place `position` of the permutation of 0 .. count - 1 that `key` makes (count at least 1).
std::uint32_t permutedIndex(std::uint32_t key, std::uint32_t count, std::uint32_t position);

// The next entry of the round (a new round begins when the last one is over, or when the count of
// entries has changed); `shown` is the entry on show now. `newKey` gives a random key for a round.
std::uint32_t nextShuffled(ShuffleState& state, std::uint32_t count, std::uint32_t shown,
                           const std::function<std::uint32_t()>& newKey);

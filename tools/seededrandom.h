#pragma once
// A small random source whose sequence depends on the seed alone (splitmix64), so that
// the generated collection is the same on every machine and standard library.
#include <cstdint>
#include <string>
#include <vector>

namespace tools {

class SeededRandom {
public:
    explicit SeededRandom(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // A number in [0, bound); bound > 0. The tiny modulo bias does not matter here.
    int below(int bound) { return static_cast<int>(next() % static_cast<std::uint64_t>(bound)); }
    // A number in [low, high].
    int between(int low, int high) { return low + below(high - low + 1); }
    // True in percent cases out of a hundred.
    bool chance(int percent) { return below(100) < percent; }

    template <typename T>
    const T &pick(const std::vector<T> &items) { return items[static_cast<size_t>(below(static_cast<int>(items.size())))]; }

private:
    std::uint64_t m_state;
};

} // namespace tools

// A small deterministic random source: the same seed gives the same sequence on
// every platform and library (std::*_distribution does not promise that).
#pragma once
#include <cstdint>

namespace gentlx {

class CRandom {
public:
    explicit CRandom(uint64_t seed) : m_state(seed) {}
    // A source for one item, independent of how many numbers other items drew.
    CRandom(uint64_t seed, uint64_t item) : m_state(seed ^ (item * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull)) {
        Next();
    }

    // splitmix64
    uint64_t Next() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 <= result < n (n > 0)
    int64_t Below(int64_t n) { return static_cast<int64_t>((Next() >> 11) % static_cast<uint64_t>(n)); }
    // lo <= result <= hi
    int64_t Between(int64_t lo, int64_t hi) { return lo + Below(hi - lo + 1); }
    bool Percent(int percent) { return Below(100) < percent; }

private:
    uint64_t m_state;
};

}  // namespace gentlx

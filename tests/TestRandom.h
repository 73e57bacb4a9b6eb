#pragma once

#include <cstdint>

namespace gyrodex::test {

// The same numbers on every run and machine, so a failing round can be replayed by its number.
class TestRandom {
public:
    explicit TestRandom(std::uint32_t seed) : seed_(seed) {}
    // A number from 0 to n - 1.
    int operator()(int n) {
        seed_ = seed_ * 1664525u + 1013904223u;
        return static_cast<int>((seed_ >> 8) % static_cast<std::uint32_t>(n));
    }

private:
    std::uint32_t seed_;
};

} // namespace gyrodex::test

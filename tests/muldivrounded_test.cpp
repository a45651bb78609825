// MulDivRounded against the compiler's own 64-bit arithmetic, over its whole
// domain: multipliers 0 to 65535, divisors 1 to 65535, results that fit an int.
#include <gtest/gtest.h>
#include <climits>
#include <cstdint>
#include <random>
#include <vector>
#include "app/layoutunits.h"

namespace {

const int kMultipliers[] = {0,   1,   2,   3,   5,   6,    7,    8,     13,    16,    72,   96,
                            120, 144, 192, 255, 256, 1000, 4095, 32767, 32768, 65534, 65535};
const int kDivisors[] = {1,  2,   3,   4,   5,    6,     7,     8,     13,   26,
                         96, 100, 255, 256, 1000, 32767, 32768, 65534, 65535};

// The exact quotient rounded to the nearest integer, halves away from zero.
long long RoundedQuotient(int number, int multiplier, int divisor) {
    long long product = (long long)number * multiplier;
    long long quotient = product / divisor;
    long long remainder = product % divisor;
    if (2 * (remainder < 0 ? -remainder : remainder) >= divisor)
        quotient += product < 0 ? -1 : 1;
    return quotient;
}

bool FitsInt(long long value) {
    return value >= INT_MIN && value <= INT_MAX;
}

void AddWithNeighbours(std::vector<long long>* numbers, long long value) {
    for (long long step = -2; step <= 2; ++step) {
        numbers->push_back(value + step);
        numbers->push_back(-(value + step));
    }
}

// Extremes, small numbers, powers of two, numbers around the multiples of the
// divisor (remainders 0, 1, a half and divisor - 1), the largest magnitudes
// whose result still fits, and a fixed pseudo-random spread of every size.
std::vector<int> NumbersFor(int multiplier, int divisor) {
    std::vector<long long> numbers = {INT_MIN, INT_MIN + 1, INT_MAX, INT_MAX - 1};
    for (long long small = -200; small <= 200; ++small)
        numbers.push_back(small);
    for (int bit = 2; bit < 31; ++bit)
        AddWithNeighbours(&numbers, 1LL << bit);
    const long long multiples[] = {1, 2, 3, 1000, 32767, INT_MAX / divisor};
    for (long long times : multiples) {
        AddWithNeighbours(&numbers, times * divisor);
        AddWithNeighbours(&numbers, times * divisor + divisor / 2);
    }
    if (multiplier != 0) {
        AddWithNeighbours(&numbers, (long long)INT_MAX * divisor / multiplier);
        AddWithNeighbours(&numbers, ((long long)INT_MAX * 2 + 1) * divisor / (2LL * multiplier));
    }
    std::mt19937 random((unsigned)multiplier * 65536u + (unsigned)divisor);
    for (int i = 0; i < 300; ++i) {
        int bits = (int)(random() % 32);
        long long magnitude = (long long)(random() & ((1ULL << bits) - 1));
        numbers.push_back(random() & 1 ? -magnitude : magnitude);
    }
    std::vector<int> inRange;
    for (long long number : numbers)
        if (FitsInt(number))
            inRange.push_back((int)number);
    return inRange;
}

TEST(MulDivRounded, MatchesTheExactQuotientRoundedHalfAwayFromZero) {
    long long checked = 0;
    for (int multiplier : kMultipliers) {
        for (int divisor : kDivisors) {
            for (int number : NumbersFor(multiplier, divisor)) {
                long long expected = RoundedQuotient(number, multiplier, divisor);
                if (!FitsInt(expected))
                    continue;
                ASSERT_EQ(MulDivRounded(number, multiplier, divisor), expected)
                    << number << " * " << multiplier << " / " << divisor;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 400000);
}

TEST(MulDivRounded, ReachesBothEndsOfTheIntRange) {
    EXPECT_EQ(MulDivRounded(INT_MIN, 65535, 65535), INT_MIN);
    EXPECT_EQ(MulDivRounded(INT_MAX, 65535, 65535), INT_MAX);
    EXPECT_EQ(MulDivRounded(INT_MIN, 1, 1), INT_MIN);
    EXPECT_EQ(MulDivRounded(INT_MIN + 1, 1, 1), INT_MIN + 1);
    EXPECT_EQ(MulDivRounded(INT_MIN, 1, 2), INT_MIN / 2);
    EXPECT_EQ(MulDivRounded(INT_MAX, 1, 2), INT_MAX / 2 + 1);
    // The remainder's product at its largest: 65534 * 65535 + 32767.
    EXPECT_EQ(MulDivRounded(65534, 65535, 65535), 65534);
    EXPECT_EQ(MulDivRounded(-65534, 65535, 65535), -65534);
}

TEST(MulDivRounded, RoundsHalvesAwayFromZeroAtEveryMagnitude) {
    for (int bit = 0; bit < 30; ++bit) {
        int half = 1 << bit; // (2 * half + 1) / 2 is half + 0.5
        EXPECT_EQ(MulDivRounded(2 * half + 1, 1, 2), half + 1) << half;
        EXPECT_EQ(MulDivRounded(-(2 * half + 1), 1, 2), -(half + 1)) << half;
        EXPECT_EQ(MulDivRounded(2 * half + 1, 3, 6), half + 1) << half;
        EXPECT_EQ(MulDivRounded(-(2 * half + 1), 3, 6), -(half + 1)) << half;
    }
}

} // namespace

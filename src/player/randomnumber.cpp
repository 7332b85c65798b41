#include "player/randomnumber.h"

#include <cmath>
#include <random>

long RandomNumber(long n, bool allowZero)
{
    // One generator seeded once from the system: re-seeding from the clock
    // at every call, within one tick, would repeat the same draw.
    static std::mt19937 generator{std::random_device{}()};
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    const double scaled = double(unit(generator)) * double(n);
    const long result = long(std::nearbyint(scaled)); // default rounding: halves to even
    if (result == 0 && !allowZero)
        return 1;
    return result;
}

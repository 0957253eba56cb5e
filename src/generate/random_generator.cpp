#include "generate/random_generator.h"

#include <chrono>

namespace generate {

void RandomGenerator::seedFromTimeOfDay() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto sinceMidnight = now - floor<days>(now);
    // Microseconds since midnight keep the fraction of the second in the seed.
    seed(static_cast<std::uint64_t>(duration_cast<microseconds>(sinceMidnight).count()));
}

}  // namespace generate

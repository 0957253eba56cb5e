#pragma once

#include <functional>
#include <string>
#include <vector>

namespace bench {

// One measured case. `run` does the work once and returns the seconds of the
// part that is measured (set-up outside it is not counted).
struct Case {
    std::string name;
    std::string target;  // the figure it must meet, e.g. "<= 0.25 s"
    std::function<double()> run;
};

std::vector<Case>& registry();

struct Registrar {
    explicit Registrar(Case c) { registry().push_back(std::move(c)); }
};

// Seconds between two points, for use inside a case.
class Stopwatch {
public:
    Stopwatch();
    double seconds() const;

private:
    long long start_;
};

}  // namespace bench

#pragma once

#include <functional>
#include <string>
#include <vector>

namespace bench {

// What one run of a case measured: the wall-clock seconds the user waits, the
// processor time of the measured process over the same span, and its peak
// memory (-1: the peak of the process that ran the case).
struct Measurement {
    double seconds = 0;
    double cpuSeconds = 0;
    long peakKb = -1;
};

// One measured case. `run` does the work once and returns what was measured
// (set-up outside the measured part is not counted).
struct Case {
    std::string name;
    std::string target;  // the figure it must meet, e.g. "<= 0.25 s"
    std::function<Measurement()> run;
    // The files it cannot run without, checked before any case runs.
    std::function<std::vector<std::string>()> needs;
};

// The shared bench data: the folder given by --data, passed on to the runs.
std::string dataFolder();

std::vector<Case>& registry();

struct Registrar {
    explicit Registrar(Case c) { registry().push_back(std::move(c)); }
};

// Wall-clock and processor time from its creation, for use inside a case.
class Stopwatch {
public:
    Stopwatch();
    double seconds() const;
    Measurement lap() const;

private:
    long long start_;
    double cpuStart_;
};

// Ends the run of a case: prints why to stderr and exits with a non-zero status,
// which the table reports as a failed case.
[[noreturn]] void fail(const std::string& why);

}  // namespace bench

// The benchmark program: runs every case in a process of its own, several times,
// and prints a table of medians with the peak memory of that process.
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "benchmark.h"

namespace bench {

std::vector<Case>& registry() {
    static std::vector<Case> cases;
    return cases;
}

Stopwatch::Stopwatch() : start_(std::chrono::steady_clock::now().time_since_epoch().count()) {}

double Stopwatch::seconds() const {
    const long long now = std::chrono::steady_clock::now().time_since_epoch().count();
    return static_cast<double>(now - start_) * std::chrono::steady_clock::period::num /
           std::chrono::steady_clock::period::den;
}

}  // namespace bench

namespace {

long peakMemoryKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Child mode: run one case once, print "seconds peak_kb".
int runOne(const std::string& name) {
    for (const bench::Case& c : bench::registry()) {
        if (c.name != name) continue;
        const double seconds = c.run();
        std::printf("%.6f %ld\n", seconds, peakMemoryKb());
        return 0;
    }
    std::fprintf(stderr, "no such case: %s\n", name.c_str());
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--case") == 0) return runOne(argv[2]);

    int runs = 5;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc)
            only = argv[++i];
    }
    std::printf("%-52s %10s %12s  %s\n", "case", "median s", "peak MB", "target");
    int failures = 0;
    for (const bench::Case& c : bench::registry()) {
        if (!only.empty() && c.name.find(only) == std::string::npos) continue;
        std::vector<double> seconds;
        std::vector<long> peaks;
        for (int run = 0; run < runs; ++run) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--case"), QString::fromStdString(c.name)});
            child.waitForFinished(-1);
            const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
            if (child.exitCode() != 0 || fields.size() != 2) {
                std::fprintf(stderr, "%s failed: %s\n", c.name.c_str(),
                             child.readAllStandardError().constData());
                ++failures;
                break;
            }
            seconds.push_back(fields[0].toDouble());
            peaks.push_back(fields[1].toLong());
        }
        if (seconds.empty()) continue;
        std::sort(seconds.begin(), seconds.end());
        std::sort(peaks.begin(), peaks.end());
        std::printf("%-52s %10.3f %12.1f  %s\n", c.name.c_str(), seconds[seconds.size() / 2],
                    peaks[peaks.size() / 2] / 1024.0, c.target.c_str());
        std::fflush(stdout);
    }
    std::printf("(medians of %d runs, each in a process of its own)\n", runs);
    return failures == 0 ? 0 : 1;
}

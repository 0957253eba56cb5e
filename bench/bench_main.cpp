// The benchmark program: starts a private X server, runs every case in a
// process of its own, several times, and prints a table of medians with the
// highest peak memory of those runs.
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <optional>
#include <string>

#include "benchmark.h"
#include "x_server.h"

namespace bench {

std::vector<Case>& registry() {
    static std::vector<Case> cases;
    return cases;
}

namespace {

constexpr char kDataVariable[] = "QF_BENCH_DATA";

double processorSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace

Stopwatch::Stopwatch()
    : start_(std::chrono::steady_clock::now().time_since_epoch().count()),
      cpuStart_(processorSeconds()) {}

double Stopwatch::seconds() const {
    const long long now = std::chrono::steady_clock::now().time_since_epoch().count();
    return static_cast<double>(now - start_) * std::chrono::steady_clock::period::num /
           std::chrono::steady_clock::period::den;
}

Measurement Stopwatch::lap() const {
    return Measurement{seconds(), processorSeconds() - cpuStart_, -1};
}

std::string dataFolder() {
    const QByteArray folder = qgetenv(kDataVariable);
    return folder.isEmpty() ? std::string(QF_SHARED_DATA_DIR) : folder.toStdString();
}

void fail(const std::string& why) {
    std::fprintf(stderr, "%s\n", why.c_str());
    std::fflush(stderr);
    std::_Exit(3);
}

}  // namespace bench

namespace {

constexpr char kUsage[] =
    "usage: quillfern-bench [--runs N] [--only TEXT] [--data FOLDER] [--list]\n"
    "\n"
    "Runs every case N times (default 5), each run in a fresh process, on a private\n"
    "X server (Xvfb) that the bench starts and ends itself, and prints for each\n"
    "case the median seconds, the median processor seconds of the measured\n"
    "process, and the highest peak memory of its runs.\n"
    "\n"
    "  --runs N      runs per case (1 or more)\n"
    "  --only TEXT   only the cases whose name contains TEXT\n"
    "  --data FOLDER the shared bench data (default: ../shared/data beside the project)\n"
    "  --list        print the cases' names and run nothing\n"
    "  --help        print this and run nothing\n";

long peakMemoryKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Child mode: run one case once, print "seconds cpu_seconds peak_kb".
int runOne(int argc, char* argv[], const std::string& name) {
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        bench::fail("--case runs on the X server named by DISPLAY; run the bench without it");
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    for (const bench::Case& c : bench::registry()) {
        if (c.name != name) continue;
        bench::Measurement measured;
        try {
            measured = c.run();
        } catch (const std::exception& failure) {
            bench::fail(failure.what());
        }
        const long peak = measured.peakKb >= 0 ? measured.peakKb : peakMemoryKb();
        std::printf("%.6f %.6f %ld\n", measured.seconds, measured.cpuSeconds, peak);
        std::fflush(stdout);
        // Quick end: what the case built is not torn down piece by piece.
        std::_Exit(0);
    }
    bench::fail("no such case: " + name);
}

struct Options {
    int runs = 5;
    std::string only;
    bool list = false;
};

bool isCount(const char* text) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return *text != '\0' && *end == '\0' && value >= 1 && value <= 1000;
}

// The options, or nothing when the command line asks for the usage or is wrong.
std::optional<Options> parse(int argc, char* argv[], int& status) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--help" || argument == "-h") {
            std::fputs(kUsage, stdout);
            status = 0;
            return std::nullopt;
        }
        if (argument == "--runs" && hasValue && isCount(argv[i + 1])) {
            options.runs = std::atoi(argv[++i]);
        } else if (argument == "--only" && hasValue) {
            options.only = argv[++i];
        } else if (argument == "--data" && hasValue) {
            qputenv(bench::kDataVariable, argv[++i]);
        } else if (argument == "--list") {
            options.list = true;
        } else {
            std::fprintf(stderr, "quillfern-bench: cannot use '%s'\n\n%s", argument.c_str(),
                         kUsage);
            status = 2;
            return std::nullopt;
        }
    }
    return options;
}

struct Row {
    std::vector<double> seconds;
    std::vector<double> cpuSeconds;
    long highestPeakKb = 0;
};

template <class T>
T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs the case `runs` times; an empty row when a run failed (the reason is printed).
Row runCase(const bench::Case& c, int runs, const QString& display) {
    Row row;
    for (int run = 0; run < runs; ++run) {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), display);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--case"), QString::fromStdString(c.name)});
        child.waitForFinished(-1);
        const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
        if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0 ||
            fields.size() != 3) {
            const QByteArray why = child.readAllStandardError().trimmed();
            std::fprintf(stderr, "FAILED %s: %s\n", c.name.c_str(),
                         why.isEmpty() ? "the run ended without a result" : why.constData());
            return {};
        }
        row.seconds.push_back(fields[0].toDouble());
        row.cpuSeconds.push_back(fields[1].toDouble());
        row.highestPeakKb = std::max(row.highestPeakKb, fields[2].toLong());
    }
    return row;
}

// Says which files the chosen cases need and cannot find; true when none is missing.
bool allFound(const std::vector<const bench::Case*>& cases) {
    bool found = true;
    for (const bench::Case* c : cases) {
        if (!c->needs) continue;
        for (const std::string& file : c->needs()) {
            if (QFileInfo(QString::fromStdString(file)).isFile()) continue;
            std::fprintf(stderr, "FAILED %s: %s is missing\n", c->name.c_str(), file.c_str());
            found = false;
        }
    }
    return found;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && std::string(argv[1]) == "--case") return runOne(argc, argv, argv[2]);

    int status = 0;
    const std::optional<Options> options = parse(argc, argv, status);
    if (!options) return status;

    std::vector<const bench::Case*> chosen;
    for (const bench::Case& c : bench::registry())
        if (c.name.find(options->only) != std::string::npos) chosen.push_back(&c);
    if (chosen.empty()) {
        std::fprintf(stderr, "quillfern-bench: no case name contains '%s'\n",
                     options->only.c_str());
        return 2;
    }
    if (options->list) {
        for (const bench::Case* c : chosen) std::printf("%s\n", c->name.c_str());
        return 0;
    }

    if (!allFound(chosen)) return 1;

    QCoreApplication application(argc, argv);
    const bench::VirtualScreen screen;
    std::printf("%-58s %9s %9s %8s  %s\n", "case", "median s", "cpu s", "peak MB", "target");
    std::fflush(stdout);
    int failures = 0;
    for (const bench::Case* c : chosen) {
        const Row row = runCase(*c, options->runs, screen.display());
        if (row.seconds.empty()) {
            ++failures;
            continue;
        }
        std::printf("%-58s %9.3f %9.3f %8.1f  %s\n", c->name.c_str(), median(row.seconds),
                    median(row.cpuSeconds), row.highestPeakKb / 1024.0, c->target.c_str());
        std::fflush(stdout);
    }
    std::printf(
        "(medians of %d runs, each in a fresh process, on Xvfb %s; peak: the highest of the "
        "runs)\n",
        options->runs, qPrintable(screen.display()));
    return failures == 0 ? 0 : 1;
}

// How well invented names catch a list's style, and how fast they come.
//
// For each list: a fixed, seeded 20% of its names is held back, the model
// learns the other 80% and invents 100,000 names. It prints how many of the
// held-back names were invented anew (recall), the share of invented names
// whose length lies within the learned names' 5th to 95th percentile, the
// share that uses only letter triples found in the learned names, the median
// time to train, and the median time to write 1,000,000 invented names to a
// file. Last, the median time to train on a list of 100,000 names.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include <unistd.h>

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include "generate/invent_quality.h"
#include "generate/inventor.h"
#include "generate/name_model.h"
#include "generate/name_model_text.h"

namespace {

using generate::NameModel;

constexpr char kUsage[] =
    "usage: quillfern-invent-quality [--data FOLDER] [--runs N] [--baseline]\n"
    "         [--order N] [--discounts D1,D2,D3] [--short S] [--plausible P] [--common C]\n"
    "         [LIST...]\n"
    "\n"
    "LIST: a file of names, one a line, optionally name<TAB>weight; census files\n"
    "(dist.*) give their first column, ALL CAPS names in proper case. Without\n"
    "lists: the census 1990 first names under FOLDER (default ../shared/data) and\n"
    "the project's Italian and German men's names, where present.\n"
    "  --runs N       timed runs, of which the median is shown (default 5; 0: none)\n"
    "  --baseline     also the plain order-2 Markov chain (no backoff)\n"
    "  --no-large     without the training time on a list of 100,000 names\n"
    "  --only-large   only that training time\n";

constexpr std::uint64_t kSplitSeed = 20240917;
constexpr std::uint64_t kInventSeed = 7;
constexpr std::size_t kInvented = 100000;
constexpr std::size_t kWritten = 1000000;
constexpr std::size_t kLargeList = 100000;

struct Options {
    std::string data = QF_SHARED_DATA_DIR;
    int runs = 5;
    bool baseline = false;
    bool large = true;
    bool onlyLarge = false;
    generate::ModelSettings settings;
    std::vector<std::string> lists;
};

[[noreturn]] void usage(const char* why) {
    std::fprintf(stderr, "quillfern-invent-quality: %s\n%s", why, kUsage);
    std::exit(2);
}

Options readOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) usage("a value is missing");
            return argv[++i];
        };
        if (a == "--data")
            o.data = value();
        else if (a == "--runs")
            o.runs = std::max(0, std::atoi(value().c_str()));
        else if (a == "--baseline")
            o.baseline = true;
        else if (a == "--no-large")
            o.large = false;
        else if (a == "--only-large")
            o.onlyLarge = true;
        else if (a == "--order")
            o.settings.order = std::atoi(value().c_str());
        else if (a == "--short")
            o.settings.shortContextShare = std::atoi(value().c_str());
        else if (a == "--plausible")
            o.settings.plausiblePercent = std::atoi(value().c_str());
        else if (a == "--common")
            o.settings.commonPercent = std::atoi(value().c_str());
        else if (a == "--discounts") {
            const std::string d = value();
            if (std::sscanf(d.c_str(), "%d,%d,%d", &o.settings.discountOnce,
                            &o.settings.discountTwice, &o.settings.discountMore) != 3)
                usage("--discounts takes three numbers: D1,D2,D3");
        } else if (a == "--help")
            usage("the options");
        else if (a.starts_with("--"))
            usage(("unknown option " + a).c_str());
        else
            o.lists.push_back(a);
    }
    if (o.lists.empty()) {
        for (const char* f : {"/census-1990/dist.male.first", "/census-1990/dist.female.first"})
            o.lists.push_back(o.data + f);
        for (const char* f : {"/data/origins/it/male.txt", "/data/origins/de/male.txt"})
            if (std::ifstream(std::string(QF_SOURCE_DIR) + f))
                o.lists.push_back(QF_SOURCE_DIR + std::string(f));
    }
    return o;
}

std::string properCaseIfAllCaps(const std::string& name) {
    const icu::Locale& root = icu::Locale::getRoot();
    const icu::UnicodeString original = icu::UnicodeString::fromUTF8(name);
    icu::UnicodeString upper = original;
    icu::UnicodeString lower = original;
    if (upper.toUpper(root) != original || lower.toLower(root) == original) return name;
    std::string out;
    lower.toTitle(nullptr, root).toUTF8String(out);
    return out;
}

std::vector<std::string> readList(const std::string& path) {
    std::ifstream in(path);
    if (!in) usage(("cannot read " + path).c_str());
    const bool census = path.find("/dist.") != std::string::npos;
    std::vector<std::string> names;
    for (std::string line; std::getline(in, line);) {
        std::string name = line.substr(0, line.find(census ? ' ' : '\t'));
        if (!name.empty() && name.back() == '\r') name.pop_back();
        if (!name.empty() && name[0] != '#') names.push_back(properCaseIfAllCaps(name));
    }
    return names;
}

double processorSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Wall-clock and processor seconds of some work: on a busy machine the
// processor time shows what the work itself costs.
struct Timing {
    double seconds = 0, cpuSeconds = 0;
};

Timing timed(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = processorSeconds();
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            processorSeconds() - cpuStart};
}

Timing median(int runs, const std::function<void()>& work) {
    std::vector<double> wall{0}, cpu{0};
    if (runs > 0) wall.clear(), cpu.clear();
    for (int i = 0; i < runs; ++i) {
        const Timing t = timed(work);
        wall.push_back(t.seconds);
        cpu.push_back(t.cpuSeconds);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

// The plain order-2 Markov chain: the next letter from the two before it,
// as often as it followed them in the list; no backoff, no sifting.
generate::ModelSettings plainChain() {
    generate::ModelSettings plain;
    plain.order = 3;
    plain.discountOnce = plain.discountTwice = plain.discountMore = 0;
    plain.plausiblePercent = 100;
    plain.commonPercent = 0;
    return plain;
}

// 1,000,000 invented names, one a line, into a temporary file.
void writeInvented(const NameModel& model, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) usage(("cannot write " + path).c_str());
    generate::Inventor inventor(model, {}, kInventSeed);
    for (std::size_t i = 0; i < kWritten; ++i) {
        const std::string_view name = inventor.next();
        std::fwrite(name.data(), 1, name.size(), file);
        std::fputc('\n', file);
    }
    std::fclose(file);
}

void report(const std::string& label, const std::vector<std::string>& names,
            const generate::ModelSettings& settings, const Options& o) {
    const generate::HeldOutSplit s = generate::splitHeldOut(names, kSplitSeed);
    const NameModel model = NameModel::train(s.learned, settings);
    const generate::InventQuality q =
        generate::measureInventQuality(model, s, kInvented, kInventSeed);
    const Timing train = median(o.runs, [&] { (void)NameModel::train(s.learned, settings); });
    const std::string temporary = "invent-quality-" + std::to_string(::getpid()) + ".txt";
    const Timing write = median(o.runs, [&] { writeInvented(model, temporary); });
    std::remove(temporary.c_str());
    std::printf("%-28s %7zu %5zu %8.1f %8.1f %8.1f %6.2f %7.4f/%.4f %6.3f/%.3f\n", label.c_str(),
                names.size(), s.heldBack.size(), q.recall, q.inLengthRange, q.knownTriples,
                q.triesPerName, train.seconds, train.cpuSeconds, write.seconds, write.cpuSeconds);
    std::fflush(stdout);
}

// 100,000 different names (ignoring case) in many scripts: the census 1990
// last, female and male names, then each origin's lists in the order of
// origins.tsv, as far as needed.
std::vector<std::string> largeList(const Options& o) {
    std::vector<std::string> files;
    for (const char* f : {"dist.all.last", "dist.female.first", "dist.male.first"})
        files.push_back(o.data + "/census-1990/" + f);
    std::ifstream origins(std::string(QF_SOURCE_DIR) + "/data/origins/origins.tsv");
    std::getline(origins, files.emplace_back());  // the heading
    files.pop_back();
    for (std::string line; std::getline(origins, line);)
        for (const char* list : {"male", "female", "unisex", "last", "last_male", "last_female"})
            files.push_back(std::string(QF_SOURCE_DIR) + "/data/origins/" +
                            line.substr(0, line.find('\t')) + "/" + list + ".txt");
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (const std::string& file : files) {
        if (!std::ifstream(file)) continue;
        for (std::string& name : readList(file)) {
            if (names.size() == kLargeList) return names;
            if (seen.insert(generate::foldCase(name)).second) names.push_back(std::move(name));
        }
    }
    return names;
}

void reportLargeTraining(const Options& o) {
    const std::vector<std::string> names = largeList(o);
    const Timing train =
        median(std::max(o.runs, 1), [&] { (void)NameModel::train(names, o.settings); });
    std::printf(
        "training on %zu names (census 1990, then the origins' lists): median %.3f s, "
        "cpu %.3f s (target at most 0.5 s)\n",
        names.size(), train.seconds, train.cpuSeconds);
}

std::string labelOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t parent = slash == 0 ? 0 : path.find_last_of('/', slash - 1);
    return parent == std::string::npos ? path : path.substr(parent + 1);
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = readOptions(argc, argv);
    const generate::ModelSettings& m = o.settings;
    std::printf(
        "model: order %d, discounts %d/%d/%d of 256 (x %d/256 in short contexts), plausible "
        "%d%%, common %d%%; %zu names invented per list\n",
        m.order, m.discountOnce, m.discountTwice, m.discountMore, m.shortContextShare,
        m.plausiblePercent, m.commonPercent, kInvented);
    std::printf("%-28s %7s %5s %8s %8s %8s %6s %15s %13s\n", "list", "names", "held", "recall%",
                "length%", "triples%", "tries", "train s/cpu", "1M file s/cpu");
    try {
        for (const std::string& path : o.onlyLarge ? std::vector<std::string>() : o.lists) {
            const std::vector<std::string> names = readList(path);
            report(labelOf(path), names, o.settings, o);
            if (o.baseline) {
                Options plain = o;
                plain.runs = std::min(o.runs, 1);
                report("  plain order-2 chain", names, plainChain(), plain);
            }
        }
        if (o.large || o.onlyLarge) reportLargeTraining(o);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillfern: %s\n", e.what());
        return 1;
    }
    return 0;
}

// Fuzzes the path normaliser that puts together the paths of a multiple
// selection in the open-file dialog.
//
// Its result must be exactly this: a path that starts with a run of '/' starts
// with exactly one '/'; everywhere else each run of n separators becomes
// (n + 1) / 2 of them, as pairs are collapsed in one pass from left to right;
// every other character stays where it was. From that follow the properties
// checked besides: nothing but separators is lost, "//" survives only from a
// run of three or more, a path without such runs is normalised by one call for
// good, and calling it again and again reaches a path without "//".

#include <cstddef>
#include <cstdint>

#include <QString>

#include "fuzz_check.h"
#include "platform/files.h"

namespace {

// Three ways to read the bytes: as UTF-8; as UTF-16 code units (lone
// surrogates included); or as a dense alphabet of '/', 'a', '\' and '.' that
// makes long separator runs likely.
QString pathFrom(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return {};
    const std::uint8_t mode = data[0] % 3;
    ++data, --size;
    QString path;
    if (mode == 0) {
        path = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    } else if (mode == 1) {
        for (std::size_t i = 0; i + 1 < size; i += 2)
            path += QChar(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    } else {
        static constexpr char16_t kAlphabet[4] = {u'/', u'a', u'\\', u'.'};
        for (std::size_t i = 0; i < size; ++i) path += QChar(kAlphabet[data[i] % 4]);
    }
    return path;
}

qsizetype leadingSeparators(const QString& path) {
    qsizetype n = 0;
    while (n < path.size() && path[n] == u'/') ++n;
    return n;
}

// Each run of n separators becomes (n + 1) / 2 of them.
QString halveRuns(const QString& text) {
    QString result;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] != u'/') {
            result += text[i++];
            continue;
        }
        qsizetype run = 0;
        while (i < text.size() && text[i] == u'/') ++i, ++run;
        result += QString((run + 1) / 2, u'/');
    }
    return result;
}

QString expectedNormal(const QString& path) {
    const qsizetype leading = leadingSeparators(path);
    if (leading == 0) return halveRuns(path);
    return u'/' + halveRuns(path.mid(leading));
}

QString withoutSeparators(QString text) {
    return text.remove(u'/');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = pathFrom(data, size);
    const QString normal = platform::NormalizePath(path);

    const QString expected = expectedNormal(path);
    if (normal != expected)
        std::fprintf(stderr, "path \"%s\"\nnormalised \"%s\"\nexpected \"%s\"\n",
                     fuzz::printable(path).constData(), fuzz::printable(normal).constData(),
                     fuzz::printable(expected).constData());
    QF_FUZZ_CHECK(normal == expected);

    QF_FUZZ_CHECK(normal.size() <= path.size());
    QF_FUZZ_CHECK(withoutSeparators(normal) == withoutSeparators(path));
    QF_FUZZ_CHECK(normal.startsWith(u'/') == path.startsWith(u'/'));
    QF_FUZZ_CHECK(!normal.startsWith(QStringLiteral("//")));
    if (!path.isEmpty() && leadingSeparators(path) == path.size()) QF_FUZZ_CHECK(normal == u"/");

    const bool longRun = path.mid(leadingSeparators(path)).contains(QStringLiteral("///"));
    if (!longRun) {
        QF_FUZZ_CHECK(!normal.contains(QStringLiteral("//")));
        QF_FUZZ_CHECK(platform::NormalizePath(normal) == normal);
    }
    if (!path.contains(QStringLiteral("//"))) QF_FUZZ_CHECK(normal == path);

    // Each further call at least halves the longest run, so a few calls
    // leave no "//" at all.
    QString again = normal;
    for (int i = 0; i < 40 && again.contains(QStringLiteral("//")); ++i) {
        const QString next = platform::NormalizePath(again);
        QF_FUZZ_CHECK(next.size() < again.size());
        again = next;
    }
    QF_FUZZ_CHECK(!again.contains(QStringLiteral("//")));
    return 0;
}

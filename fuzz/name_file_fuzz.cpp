// Fuzzes the splitting of a name file's bytes into names.
//
// The names must be exactly what an independent reading of the same bytes
// gives: the text decoded as UTF-8 (a byte-order mark skipped) when the bytes
// are valid UTF-8, as Windows-1252 otherwise; apostrophes removed; split at
// every carriage return and line feed; empty pieces skipped. Files that start
// with a UTF-16 byte-order mark are only held to the general properties: no
// name is empty or holds a CR, LF or apostrophe, and the names fit in the text.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "fuzz_check.h"
#include "names/name_file.h"

namespace {

// The text of UTF-8 bytes, or nothing when they are not valid UTF-8: shortest
// forms only, no surrogate halves, nothing above U+10FFFF and no sequence cut
// off by the end of the bytes. A byte-order mark here is an ordinary character.
std::optional<QString> fromUtf8(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const std::size_t n = static_cast<std::size_t>(bytes.size());
    QString text;
    std::size_t i = 0;
    while (i < n) {
        const unsigned char lead = p[i];
        if (lead < 0x80) {
            text += QChar(char16_t{lead});
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t smallest = 0;
        char32_t code = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2, smallest = 0x80, code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, smallest = 0x800, code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, smallest = 0x10000, code = lead & 0x07;
        } else {
            return std::nullopt;
        }
        if (n - i < length) return std::nullopt;
        for (std::size_t k = 1; k < length; ++k) {
            if ((p[i + k] & 0xC0) != 0x80) return std::nullopt;
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return std::nullopt;
        if (code >= 0x10000) {
            text += QChar(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            text += QChar(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            text += QChar(static_cast<char16_t>(code));
        }
        i += length;
    }
    return text;
}

// Windows-1252 at 0x80..0x9F; the five bytes it leaves unassigned stand for
// themselves. All other bytes are Latin-1.
QString fromWindows1252(const QByteArray& bytes) {
    static constexpr char16_t kHigh[32] = {
        u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
        u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
        u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
        u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178'};
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        text += QChar(value >= 0x80 && value < 0xA0 ? kHigh[value - 0x80] : char16_t{value});
    }
    return text;
}

bool startsWithUtf16Mark(const QByteArray& bytes) {
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

QString decodedText(const QByteArray& bytes) {
    const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    if (std::optional<QString> text = fromUtf8(body)) return *text;
    return fromWindows1252(bytes);
}

// The names of a decoded text by the plain rule: every CR and LF separates.
QStringList namesOf(QString text) {
    text.remove(u'\'');
    QStringList names;
    QString name;
    for (const QChar c : text) {
        if (c == u'\r' || c == u'\n') {
            if (!name.isEmpty()) names << name;
            name.clear();
        } else {
            name += c;
        }
    }
    if (!name.isEmpty()) names << name;
    return names;
}

// Where each name stood: lines end at CR (a CR LF pair is one line end);
// within a line, a piece followed by a line feed, the piece after the last
// line feed, or a line that holds no line feed at all.
std::vector<names::NamePlace> placesOf(const QString& text) {
    std::vector<names::NamePlace> places;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\r', start);
        if (end < 0) end = text.size();
        const QStringList pieces = text.mid(start, end - start).remove(u'\'').split(u'\n');
        start = end + 1;
        if (start < text.size() && text[start] == u'\n') ++start;
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            if (pieces[i].isEmpty()) continue;
            if (pieces.size() == 1)
                places.push_back(names::NamePlace::WholeLine);
            else if (i + 1 < pieces.size())
                places.push_back(names::NamePlace::BeforeLineFeed);
            else
                places.push_back(names::NamePlace::AfterLastLineFeed);
        }
    }
    return places;
}

void reportDifference(const QStringList& got, const QStringList& expected) {
    std::fprintf(stderr, "names: %lld, expected %lld\n", static_cast<long long>(got.size()),
                 static_cast<long long>(expected.size()));
    for (qsizetype i = 0; i < std::max(got.size(), expected.size()); ++i) {
        const QString a = i < got.size() ? got[i] : QStringLiteral("<none>");
        const QString b = i < expected.size() ? expected[i] : QStringLiteral("<none>");
        if (a != b) {
            std::fprintf(stderr, "first difference at name %lld: \"%s\", expected \"%s\"\n",
                         static_cast<long long>(i), fuzz::printable(a).constData(),
                         fuzz::printable(b).constData());
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList got = names::splitNameFile(bytes);

    // Properties of every result.
    qsizetype characters = 0;
    for (const QString& name : got) {
        QF_FUZZ_CHECK(!name.isEmpty());
        QF_FUZZ_CHECK(!name.contains(u'\r') && !name.contains(u'\n'));
        QF_FUZZ_CHECK(!name.contains(u'\''));
        characters += name.size();
    }
    // Between two names stands at least one line end.
    const qsizetype joined = got.isEmpty() ? 0 : characters + got.size() - 1;
    QF_FUZZ_CHECK(joined <= (startsWithUtf16Mark(bytes) ? bytes.size() / 2 : bytes.size()));

    // The names handed out one by one are the same names, in the same order.
    QStringList taken;
    std::vector<names::NamePlace> takenPlaces;
    names::forEachName(names::decodeNameFile(bytes),
                       [&](const QString& name, names::NamePlace place) {
                           taken << name;
                           takenPlaces.push_back(place);
                       });
    QF_FUZZ_CHECK(taken == got);

    if (startsWithUtf16Mark(bytes)) return 0;

    const QString text = decodedText(bytes);
    const QStringList expected = namesOf(text);
    if (got != expected) reportDifference(got, expected);
    QF_FUZZ_CHECK(got == expected);
    QF_FUZZ_CHECK(names::decodeNameFile(bytes) == text);
    QF_FUZZ_CHECK(joined <= text.size());
    QF_FUZZ_CHECK(takenPlaces == placesOf(text));
    return 0;
}

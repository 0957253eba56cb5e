#include "names/name_file.h"

#include <array>

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include "platform/failure.h"

namespace names {

namespace {

// Windows-1252 at 0x80..0x9F; the five unassigned bytes keep their own value,
// as Windows converts them. Every other byte is the same as in Latin-1.
constexpr std::array<char16_t, 32> kWindows1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool startsWithUtf16Bom(const QByteArray& bytes) {
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
}

}  // namespace

QString DecodeWindows1252(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        *out++ = QChar(value >= 0x80 && value <= 0x9F ? kWindows1252High[value - 0x80]
                                                      : char16_t{value});
    }
    return text;
}

QString DecodeNameFile(const QByteArray& bytes) {
    if (startsWithUtf16Bom(bytes)) {
        QStringDecoder utf16(QStringDecoder::Utf16, QStringDecoder::Flag::Stateless);
        return utf16(bytes);
    }
    // Stateless: a sequence cut off by the end of the file is an error, not
    // a letter still to come.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError()) return text;
    return DecodeWindows1252(bytes);
}

QString RemoveApostrophes(QString text) {
    text.remove(QLatin1Char('\''));
    return text;
}

void ForEachName(const QString& text,
                 const std::function<void(const QString& name, NamePlace place)>& take) {
    const qsizetype size = text.size();
    qsizetype start = 0;
    while (start < size) {
        // A line ends at a carriage return; a line feed right after it belongs
        // to the same line end.
        qsizetype end = text.indexOf(QLatin1Char('\r'), start);
        if (end < 0) end = size;
        QString line = RemoveApostrophes(text.mid(start, end - start));
        start = end + 1;
        if (start < size && text.at(start) == QLatin1Char('\n')) ++start;

        if (line.contains(QLatin1Char('\n'))) {
            qsizetype from = 0;
            for (qsizetype feed = line.indexOf(QLatin1Char('\n')); feed >= 0;
                 feed = line.indexOf(QLatin1Char('\n'), from)) {
                if (feed > from) take(line.mid(from, feed - from), NamePlace::BeforeLineFeed);
                from = feed + 1;
            }
            if (from < line.size()) take(line.mid(from), NamePlace::AfterLastLineFeed);
        } else if (!line.isEmpty()) {
            take(line, NamePlace::WholeLine);
        }
    }
}

QStringList SplitNameFile(const QByteArray& bytes) {
    QStringList names;
    ForEachName(DecodeNameFile(bytes), [&](const QString& name, NamePlace) { names << name; });
    return names;
}

QByteArray ReadNameFile(const QString& path) {
    // Opening a folder can succeed on some systems; it holds no names to read.
    if (QFileInfo(path).isDir())
        throw platform::Failure(QStringLiteral("Path is a folder, not a file: ") + path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw platform::Failure(file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw platform::Failure(file.errorString());
    return bytes;
}

QString NormalizePath(const QString& path) {
    const auto collapsePairs = [](QString text) {
        return text.replace(QStringLiteral("//"), QStringLiteral("/"));
    };
    if (!path.startsWith(QLatin1Char('/'))) return collapsePairs(path);
    qsizetype k = 0;
    while (k < path.size() && path.at(k) == QLatin1Char('/')) ++k;
    return QLatin1Char('/') + collapsePairs(path.mid(k));
}

}  // namespace names

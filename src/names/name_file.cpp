#include "names/name_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include <QFile>
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

platform::Failure notARegularFile(const QString& path) {
    return platform::Failure(path + QStringLiteral(" is not a regular file"));
}

platform::Failure tooLarge(const QString& path) {
    return platform::Failure(QStringLiteral("%1 is larger than %2 MB, the limit for a name file")
                                 .arg(path)
                                 .arg(kNameFileLimit / (1024 * 1024)));
}

platform::Failure systemError() {
    return platform::Failure(qt_error_string(errno));
}

// Refuses what is no regular file of a size that may be read.
void checkReadable(const struct stat& info, const QString& path) {
    // Opening a folder can succeed on some systems; it holds no names to read.
    if (S_ISDIR(info.st_mode))
        throw platform::Failure(QStringLiteral("Path is a folder, not a file: ") + path);
    if (!S_ISREG(info.st_mode)) throw notARegularFile(path);
    if (info.st_size > kNameFileLimit) throw tooLarge(path);
}

// An open file descriptor, closed when it goes out of scope.
class OpenFile {
public:
    explicit OpenFile(const QByteArray& name)
        : fd_(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {}
    ~OpenFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// Reads to the end of a regular file of about `expected` bytes, refusing it
// once it holds more than the limit (a file that grows while it is read).
QByteArray readToEnd(int fd, qint64 expected, const QString& path) {
    QByteArray bytes(std::min(expected, kNameFileLimit) + 1, Qt::Uninitialized);
    qint64 filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > kNameFileLimit) throw tooLarge(path);
            bytes.resize(std::min(std::max(filled * 2, qint64{65536}), kNameFileLimit + 1));
        }
        const ssize_t got =
            ::read(fd, bytes.data() + filled, static_cast<size_t>(bytes.size() - filled));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw systemError();
        if (got == 0) break;
        filled += got;
    }
    bytes.truncate(filled);
    return bytes;
}

}  // namespace

QString decodeWindows1252(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        *out++ = QChar(value >= 0x80 && value <= 0x9F ? kWindows1252High[value - 0x80]
                                                      : char16_t{value});
    }
    return text;
}

QString decodeNameFile(const QByteArray& bytes) {
    if (startsWithUtf16Bom(bytes)) {
        QStringDecoder utf16(QStringDecoder::Utf16, QStringDecoder::Flag::Stateless);
        return utf16(bytes);
    }
    // Stateless: a sequence cut off by the end of the file is an error, not
    // a letter still to come.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError()) return text;
    return decodeWindows1252(bytes);
}

QString removeApostrophes(QString text) {
    text.remove(QLatin1Char('\''));
    return text;
}

void forEachName(const QString& text,
                 const std::function<void(const QString& name, NamePlace place)>& take) {
    const qsizetype size = text.size();
    qsizetype start = 0;
    while (start < size) {
        // A line ends at a carriage return; a line feed right after it belongs
        // to the same line end.
        qsizetype end = text.indexOf(QLatin1Char('\r'), start);
        if (end < 0) end = size;
        QString line = removeApostrophes(text.mid(start, end - start));
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

QStringList splitNameFile(const QByteArray& bytes) {
    QStringList names;
    forEachName(decodeNameFile(bytes), [&](const QString& name, NamePlace) { names << name; });
    return names;
}

QByteArray readNameFile(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    // The type of what the path leads to is looked at before opening: a named
    // pipe would wait for a writer, a device would never end.
    struct stat info {};
    if (::stat(name.constData(), &info) == 0) checkReadable(info, path);
    // Opened without waiting, and looked at again: the path may have been
    // replaced in between.
    const OpenFile file(name);
    if (file.fd() < 0) throw systemError();
    if (::fstat(file.fd(), &info) != 0) throw systemError();
    checkReadable(info, path);
    return readToEnd(file.fd(), info.st_size, path);
}

}  // namespace names

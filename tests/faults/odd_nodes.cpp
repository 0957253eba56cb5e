#include "odd_nodes.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include <QDir>
#include <QFile>

namespace faults {

namespace {

bool pipe(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

bool device(const QString& path) {
    return ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0600, makedev(1, 3)) == 0;
}

bool folder(const QString& path) {
    return QDir().mkdir(path);
}

bool nothing(const QString&) {
    return true;
}

// The socket file stays when the socket closes.
bool socketFile(const QString& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (name.size() >= static_cast<qsizetype>(sizeof address.sun_path)) return false;
    std::memcpy(address.sun_path, name.constData(), name.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

template <bool (*makeTarget)(const QString&)>
bool linkTo(const QString& path) {
    const QString target = path + QStringLiteral(".target");
    return makeTarget(target) && QFile::link(target, path);
}

}  // namespace

std::vector<Node> nodes() {
    return {{"NamedPipe", pipe},
            {"Socket", socketFile},
            {"DeviceNode", device},
            {"LinkToNamedPipe", linkTo<pipe>},
            {"LinkToFolder", linkTo<folder>},
            {"LinkToDeviceNode", linkTo<device>},
            {"LinkToNowhere", linkTo<nothing>}};
}

QString describe(const QString& path) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) return QStringLiteral("nothing");
    QString text =
        QString::number(info.st_mode, 8) + QStringLiteral(" #") + QString::number(info.st_ino);
    if (S_ISLNK(info.st_mode))
        text += QStringLiteral(" to ") + describe(QFile::symLinkTarget(path));
    return text;
}

PipeWriter::PipeWriter(QString path, QByteArray bytes) : path_(QFile::encodeName(path)) {
    struct stat info {};
    if (::stat(path_.constData(), &info) != 0 || !S_ISFIFO(info.st_mode)) return;
    writer_ = std::thread([path = path_, bytes = std::move(bytes)] {
        // Waits here until the pipe is opened to read.
        const int fd = ::open(path.constData(), O_WRONLY);
        if (fd < 0) return;
        [[maybe_unused]] const ssize_t wrote = ::write(fd, bytes.constData(), bytes.size());
        ::close(fd);
    });
}

PipeWriter::~PipeWriter() {
    if (!writer_.joinable()) return;
    // A reader that does not wait lets the writer's open return.
    const int reader = ::open(path_.constData(), O_RDONLY | O_NONBLOCK);
    writer_.join();
    if (reader >= 0) ::close(reader);
}

}  // namespace faults

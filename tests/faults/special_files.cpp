#include "special_files.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <utility>

#include <QFile>

namespace faults {

namespace {

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

bool makeSocket(const QString& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = native(path);
    if (name.size() >= static_cast<qsizetype>(sizeof address.sun_path)) return false;
    std::memcpy(address.sun_path, name.constData(), name.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return false;
    // The socket file stays when the socket closes.
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

bool makeTarget(Node node, const QString& path) {
    switch (node) {
        case Node::NamedPipe:
            return ::mkfifo(native(path).constData(), 0600) == 0;
        case Node::Socket:
            return makeSocket(path);
        case Node::DeviceNode:
            return ::mknod(native(path).constData(), S_IFCHR | 0600, makedev(1, 3)) == 0;
        default:
            return false;
    }
}

QString typeOf(const struct stat& info) {
    if (S_ISREG(info.st_mode)) return QStringLiteral("file");
    if (S_ISDIR(info.st_mode)) return QStringLiteral("folder");
    if (S_ISFIFO(info.st_mode)) return QStringLiteral("pipe");
    if (S_ISSOCK(info.st_mode)) return QStringLiteral("socket");
    if (S_ISCHR(info.st_mode)) return QStringLiteral("device");
    if (S_ISLNK(info.st_mode)) return QStringLiteral("link");
    return QStringLiteral("other");
}

}  // namespace

std::string NodeName(Node node) {
    switch (node) {
        case Node::NamedPipe:
            return "NamedPipe";
        case Node::Socket:
            return "Socket";
        case Node::DeviceNode:
            return "DeviceNode";
        case Node::LinkToNamedPipe:
            return "LinkToNamedPipe";
        case Node::LinkToFolder:
            return "LinkToFolder";
        case Node::LinkToDeviceNode:
            return "LinkToDeviceNode";
        case Node::LinkToNowhere:
            return "LinkToNowhere";
    }
    return "Unknown";
}

bool MakeNode(Node node, const QString& path) {
    const QString target = path + QStringLiteral(".target");
    bool made = false;
    switch (node) {
        case Node::NamedPipe:
        case Node::Socket:
        case Node::DeviceNode:
            return makeTarget(node, path);
        case Node::LinkToNamedPipe:
            made = makeTarget(Node::NamedPipe, target);
            break;
        case Node::LinkToFolder:
            made = ::mkdir(native(target).constData(), 0700) == 0;
            break;
        case Node::LinkToDeviceNode:
            made = makeTarget(Node::DeviceNode, target);
            break;
        case Node::LinkToNowhere:
            made = true;
            break;
    }
    return made && QFile::link(target, path);
}

QString Describe(const QString& path) {
    struct stat info {};
    if (::lstat(native(path).constData(), &info) != 0) return QStringLiteral("nothing");
    QString text = typeOf(info) + QStringLiteral(" #") + QString::number(info.st_ino);
    if (S_ISLNK(info.st_mode)) {
        const QString target = QFile::symLinkTarget(path);
        text += QStringLiteral(" to ") + target + QStringLiteral(": ") + Describe(target);
    }
    return text;
}

PipeWriter::PipeWriter(QString pipe, QByteArray bytes)
    : pipe_(std::move(pipe)), writer_([path = native(pipe_), bytes = std::move(bytes)] {
          // Waits here until the pipe is opened to read.
          const int fd = ::open(path.constData(), O_WRONLY);
          if (fd < 0) return;
          [[maybe_unused]] const ssize_t wrote = ::write(fd, bytes.constData(), bytes.size());
          ::close(fd);
      }) {}

PipeWriter::~PipeWriter() {
    // A reader that does not wait lets the writer's open return.
    const int reader = ::open(native(pipe_).constData(), O_RDONLY | O_NONBLOCK);
    writer_.join();
    if (reader >= 0) ::close(reader);
}

}  // namespace faults

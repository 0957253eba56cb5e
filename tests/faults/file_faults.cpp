#include "file_faults.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <csignal>
#include <utility>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

namespace faults {

namespace {

// Sets or clears the immutable attribute; false where the file system or the
// user's capabilities do not allow it.
bool setImmutable(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

bool writable(const QString& path) {
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

}  // namespace

ReadOnly::ReadOnly(QString path) : path_(std::move(path)) {
    immutable_ = setImmutable(path_, true);
    if (!immutable_)
        QFile::setPermissions(path_,
                              QFile::permissions(path_) & ~(QFile::WriteOwner | QFile::WriteUser |
                                                            QFile::WriteGroup | QFile::WriteOther));
    holds_ = !writable(path_);
}

ReadOnly::~ReadOnly() {
    if (immutable_)
        setImmutable(path_, false);
    else
        QFile::setPermissions(path_, QFile::permissions(path_) | QFile::WriteOwner);
}

SmallFileSystem::SmallFileSystem(QString folder, int kilobytes) : folder_(std::move(folder)) {
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
    mounted_ = ::mount("tmpfs", QFile::encodeName(folder_).constData(), "tmpfs",
                       MS_NOSUID | MS_NODEV, options.constData()) == 0;
}

SmallFileSystem::~SmallFileSystem() {
    if (mounted_) ::umount2(QFile::encodeName(folder_).constData(), MNT_DETACH);
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    if (::getrlimit(RLIMIT_FSIZE, &saved_) != 0) return;
    savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, saved_.rlim_max};
    holds_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

FileSizeLimit::~FileSizeLimit() {
    if (holds_) ::setrlimit(RLIMIT_FSIZE, &saved_);
    if (savedHandler_ != SIG_ERR) std::signal(SIGXFSZ, savedHandler_);
}

QByteArray randomBytes(qsizetype size, quint32 seed) {
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes) byte = static_cast<char>(random.bounded(256));
    return bytes;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace faults

#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace platform {

bool FileExists(const QString& path) {
    if (path.isEmpty()) return false;
    const QFileInfo info(path);
    return info.exists() && info.lastModified().isValid();
}

bool FolderExists(const QString& path) {
    if (path.isEmpty()) return false;
    return QFileInfo(path).isDir();
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

QString programFolder() {
    return QCoreApplication::applicationDirPath();
}

QString notARegularFile(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat target {};
    if (::stat(name.constData(), &target) == 0)
        return S_ISREG(target.st_mode) ? QString()
                                       : path + QStringLiteral(" is not a regular file");
    // Nothing there yet: the writer creates it, or says why it cannot.
    struct stat link {};
    if (::lstat(name.constData(), &link) != 0) return {};
    return path + QStringLiteral(" is a link that leads to no file");
}

namespace {

Failure cannotWrite(const QString& path, const QString& reason) {
    return Failure(QStringLiteral("Cannot write ") + path + QStringLiteral(": ") + reason);
}

void refuseAnythingButARegularFile(const QString& path) {
    const QString refusal = notARegularFile(path);
    if (!refusal.isEmpty()) throw cannotWrite(path, refusal);
}

}  // namespace

Failure WholeFileWriter::failure(const QString& reason) const {
    return cannotWrite(path_, reason);
}

QString WholeFileWriter::buildingPath() const {
    // The open file itself, whether it has a name of its own in the folder yet or not.
    return QStringLiteral("/proc/self/fd/") + QString::number(file_.handle());
}

WholeFileWriter::WholeFileWriter(const QString& path) : path_(path), file_(path) {
    refuseAnythingButARegularFile(path_);
    // The new file is written beside the one it replaces (beside the file a
    // link leads to) and then renamed over it.
    // Unbuffered, so that every byte is written here, where a failure is seen:
    // a rest left in the buffer would be written out by the commit, which does
    // not notice when that fails and puts a cut-off file in place of the old one.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw cannotWrite(path_, file_.errorString());
}

void WholeFileWriter::write(const char* data, qint64 size) {
    // A full disk takes part of the bytes first; the write of the rest then
    // fails and says why.
    for (qint64 written = 0; written < size;) {
        const qint64 wrote = file_.write(data + written, size - written);
        if (wrote <= 0) {
            const QString reason = file_.errorString();
            file_.cancelWriting();
            throw cannotWrite(path_, reason);
        }
        written += wrote;
    }
    startWriteBack(size);
}

void WholeFileWriter::startWriteBack(qint64 size) {
    // The disk starts on what is written while the rest is still being made,
    // so that the sync of the commit has little left to wait for. Only a hint:
    // a file system that does not take it syncs all at the commit.
    written_ += size;
    if (written_ - writtenBack_ < kWriteBackStep) return;
    ::sync_file_range(file_.handle(), writtenBack_, written_ - writtenBack_, SYNC_FILE_RANGE_WRITE);
    writtenBack_ = written_;
}

void WholeFileWriter::commit() {
    // Once more just before the rename, should the path have been replaced
    // by a pipe or a link to a device while the bytes were written (the
    // uncommitted file goes with `file_`).
    refuseAnythingButARegularFile(path_);
    if (!file_.commit()) throw cannotWrite(path_, file_.errorString());
}

void writeFileWhole(const QByteArray& bytes, const QString& path) {
    WholeFileWriter file(path);
    file.write(bytes.constData(), bytes.size());
    file.commit();
}

}  // namespace platform

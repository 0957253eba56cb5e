#pragma once

#include <sys/resource.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

// Ways to make the file system refuse the program's writes that hold for root
// as well, where plain permission bits do not. Each undoes itself when it goes
// out of scope; `holds()` tells whether it could be set up here at all.
namespace faults {

// A file or folder that cannot be changed: the immutable attribute (works for
// root with the right capability), or for other users the write permission
// taken away.
class ReadOnly {
public:
    explicit ReadOnly(QString path);
    ~ReadOnly();
    ReadOnly(const ReadOnly&) = delete;
    ReadOnly& operator=(const ReadOnly&) = delete;

    bool holds() const { return holds_; }

private:
    QString path_;
    bool immutable_ = false;
    bool holds_ = false;
};

// A size-limited file system (tmpfs) mounted on a folder: a full disk.
class SmallFileSystem {
public:
    SmallFileSystem(QString folder, int kilobytes);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool holds() const { return mounted_; }

private:
    QString folder_;
    bool mounted_ = false;
};

// A limit on the size of the files this process writes: a write beyond it
// fails (the signal it raises is ignored), as it would on a full disk. Needs
// no privileges.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool holds() const { return holds_; }

private:
    rlimit saved_{};
    void (*savedHandler_)(int) = nullptr;
    bool holds_ = false;
};

// Bytes drawn at random, the same for the same seed.
QByteArray randomBytes(qsizetype size, quint32 seed);
// The bytes of a file, or "<missing>".
QByteArray contents(const QString& path);
// The names in a folder, hidden ones included.
QStringList entries(const QString& folder);

}  // namespace faults

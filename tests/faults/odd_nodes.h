#pragma once

#include <ostream>
#include <thread>
#include <vector>

#include <QByteArray>
#include <QString>

// Things other than a regular file standing where the program expects one.
namespace faults {

struct Node {
    const char* name;
    // Makes it at the path; what a link leads to stands beside it as
    // "<path>.target". False where it cannot be made here (a device node
    // needs the right to make one).
    bool (*make)(const QString& path);
};
inline void PrintTo(const Node& node, std::ostream* out) {
    *out << node.name;
}

// A named pipe, a socket, a device node (the null device's numbers, in the
// test's own folder), and links to those, to a folder and to nothing.
std::vector<Node> nodes();

// What stands at the path (type and inode), and for a link where it leads
// and what stands there: the same text before and after means untouched.
QString describe(const QString& path);

// When the path leads to a named pipe: writes the bytes into it, from a
// thread of its own, as soon as someone opens it to read, so whatever reads
// the pipe reads them. Its end lets a writer that nobody read from go.
class PipeWriter {
public:
    PipeWriter(QString path, QByteArray bytes);
    ~PipeWriter();
    PipeWriter(const PipeWriter&) = delete;
    PipeWriter& operator=(const PipeWriter&) = delete;

private:
    QByteArray path_;
    std::thread writer_;
};

}  // namespace faults

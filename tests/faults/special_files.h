#pragma once

#include <ostream>
#include <string>
#include <thread>

#include <QByteArray>
#include <QString>

// Things other than a regular file standing where the program expects one.
namespace faults {

enum class Node {
    NamedPipe,
    Socket,
    DeviceNode,  // the null device's numbers, in the test's own folder
    LinkToNamedPipe,
    LinkToFolder,
    LinkToDeviceNode,
    LinkToNowhere,
};

// The node's name, for test names.
std::string NodeName(Node node);
inline void PrintTo(Node node, std::ostream* out) {
    *out << NodeName(node);
}

// Makes the node at the path; what a link leads to stands beside it as
// "<path>.target". False where it cannot be made here (a device node needs
// the right to make one).
bool MakeNode(Node node, const QString& path);

// What stands at the path (type and inode), and for a link where it leads
// and what stands there: the same text before and after means untouched.
QString Describe(const QString& path);

// Writes the bytes into a named pipe, from a thread of its own, as soon as
// someone opens the pipe to read: whatever reads the pipe reads them. Its end
// lets a writer that nobody read from go.
class PipeWriter {
public:
    PipeWriter(QString pipe, QByteArray bytes);
    ~PipeWriter();
    PipeWriter(const PipeWriter&) = delete;
    PipeWriter& operator=(const PipeWriter&) = delete;

private:
    QString pipe_;
    std::thread writer_;
};

}  // namespace faults

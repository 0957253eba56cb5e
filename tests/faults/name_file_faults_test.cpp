// Name files that are no list of names: binary, very long, one huge line,
// invalid UTF-8, a folder, a pipe or a device, larger than the limit, or gone
// by the time the import starts. Each gives the right box or the right names,
// and nothing crashes or hangs.
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include <QDir>
#include <QFile>
#include <QPushButton>

#include <gtest/gtest.h>

#include "file_faults.h"
#include "guarded/failure_report.h"
#include "names/name_file.h"
#include "platform/dialogs.h"
#include "platform/pointer.h"
#include "support/form1_fixture.h"

namespace {

class BadNameFile : public testsupport::Form1Fixture {
protected:
    BadNameFile() : Form1Fixture({.userFirst = {"Ulla"}, .userLast = {"Vance"}}) {}
    void SetUp() override {
        chooseUserList();
        start();
    }
    // "Load Last Names From File" with these files chosen, expecting as many
    // message boxes as given.
    void importLastNames(const QStringList& paths, int boxes = 0,
                         std::function<void()> meanwhile = {}) {
        dialogs.answerOpenFiles(paths, std::move(meanwhile));
        dialogs.expectMessageBox(boxes);
        form->PushButton7->click();
        EXPECT_EQ(form->MousePointer(), platform::PointerShape::Normal);
    }
    QStringList stored() const { return db->names("user_lastname"); }
};

// The characters from one code to another, one of them left out.
QString codes(int from, int to, int skip = -1) {
    QString text;
    for (int c = from; c <= to; ++c)
        if (c != skip) text += QChar(c);
    return text;
}

TEST_F(BadNameFile, BinaryBytesSplitAtLineEndsAsAnyText) {
    QByteArray everyByte;
    for (int c = 0; c < 256; ++c) everyByte += static_cast<char>(c);
    importLastNames({writeFile("binary.txt", everyByte)});
    // Not UTF-8, so each byte is one character: the line feed (10) and the
    // carriage return (13) end names, the apostrophe goes, the rest is cut to 50.
    const QString third = codes(14, 255, '\'').left(50);
    EXPECT_EQ(lastShown(), (QStringList{codes(0, 9), codes(11, 12), third, "Vance"}));
    EXPECT_EQ(third, codes(14, 38) + codes(40, 64));
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(BadNameFile, RandomBytesGiveOnlyNamesThatCouldBeStored) {
    importLastNames({writeFile("random.bin", faults::randomBytes(256 * 1024, 7))});
    EXPECT_TRUE(dialogs.messages().isEmpty());
    const QStringList shown = lastShown();
    EXPECT_GT(shown.size(), 1000);
    EXPECT_EQ(stored().size(), shown.size());
    for (const QString& name : shown) {
        ASSERT_FALSE(name.isEmpty());
        ASSERT_LE(name.size(), 50);
        ASSERT_FALSE(name.contains('\r') || name.contains('\n') || name.contains('\''));
    }
}

TEST_F(BadNameFile, AHundredMegabytesOfLongLines) {
    // 102400 lines of 1024 bytes each, line end included, each line its own.
    constexpr int kLines = 100 * 1024;
    const QByteArray filler = QByteArray("abcdefghijklmnopqrstuvwxyz").repeated(40).left(1014);
    QFile file(files.filePath("big.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (int i = 0; i < kLines; ++i)
        file.write(QByteArray::number(i).rightJustified(8, '0') + filler + "\r\n");
    file.close();
    ASSERT_EQ(file.size(), 100 * 1024 * 1024);

    importLastNames({file.fileName()});
    EXPECT_TRUE(dialogs.messages().isEmpty());
    const QStringList names = stored();
    ASSERT_EQ(names.size(), kLines + 1);
    EXPECT_EQ(names[1], "00000000" + filler.left(42));
    EXPECT_EQ(names.last(), "00102399" + filler.left(42));
    for (const QString& name : names.mid(1)) ASSERT_EQ(name.size(), 50);
    EXPECT_EQ(lastShown().size(), kLines + 1);
}

TEST_F(BadNameFile, OneLineOfAMegabyteIsOneNameCutTo50Characters) {
    const QString word = QString::fromUtf8("Ærøskøbing-Łódź ");
    const QByteArray line = word.toUtf8().repeated(1024 * 1024 / word.toUtf8().size() + 1);
    ASSERT_GT(line.size(), 1024 * 1024);
    importLastNames({writeFile("line.txt", line)});
    EXPECT_EQ(stored(), (QStringList{"Vance", word.repeated(4).left(50)}));
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(BadNameFile, InvalidUtf8ReadsTheWholeFileAsWindows1252) {
    importLastNames({writeFile("mixed.txt",
                               "Zo\xC3\xAB\r\n"     // UTF-8, but the file as a whole is not
                               "Jos\xE9\r\n"        // a lone Windows-1252 letter
                               "\xC0\xAFx\r\n"      // an overlong sequence
                               "\xED\xA0\x80y\r\n"  // a surrogate written as UTF-8
                               "end\xE2\x82")});    // a sequence cut off by the end
    EXPECT_EQ(stored(), (QStringList{"Vance", QString::fromUtf8("ZoÃ«"), QString::fromUtf8("José"),
                                     QString::fromUtf8("À¯x"), QString::fromUtf8("í\u00A0€y"),
                                     QString::fromUtf8("endâ‚")}));
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(BadNameFile, AFolderIsReportedWhereTheFileIsRead) {
    const QString folder = files.filePath("names.txt");
    ASSERT_TRUE(QDir().mkdir(folder));
    importLastNames({folder}, 1);
    EXPECT_EQ(dialogs.messages(),
              QStringList{guarded::failureMessage("Path is a folder, not a file: " + folder,
                                                  "Tolvarine2021/08/31.Main.FileToListview", 108)});
    EXPECT_EQ(stored(), QStringList{"Vance"});
}

TEST_F(BadNameFile, AFileGoneAfterTheDialogIsNotFoundAndTheOthersStillImport) {
    const QString gone = writeFile("gone.txt", "Gone\r\n");
    const QString kept = writeFile("kept.txt", "Kept\r\n");
    importLastNames({gone, kept}, 1, [&] { QFile::remove(gone); });
    ASSERT_EQ(dialogs.messages(), QStringList{"File not found"});
    EXPECT_EQ(dialogs.shown()[1].style, platform::MessageStyle::Ok);
    EXPECT_EQ(dialogs.shown()[1].title, "Quillfern");
    EXPECT_EQ(stored(), (QStringList{"Vance", "Kept"}));
    EXPECT_EQ(lastShown(), (QStringList{"Kept", "Vance"}));
}

// --- files that are no regular file, or too large ------------------------------

const QString kImportTag = QStringLiteral("Tolvarine2021/08/31.Main.FileToListview");

// Lets anyone who waits on opening the named pipe for reading go on to its
// end, so that a reader that would hang finds an empty pipe instead.
class PipeWriterNearby {
public:
    explicit PipeWriterNearby(const QString& path)
        : thread_([this, name = QFile::encodeName(path)] {
              while (!stop_) {
                  const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
                  if (fd >= 0) ::close(fd);
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              }
          }) {}
    ~PipeWriterNearby() {
        stop_ = true;
        thread_.join();
    }
    PipeWriterNearby(const PipeWriterNearby&) = delete;
    PipeWriterNearby& operator=(const PipeWriterNearby&) = delete;

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

QString namedPipe(const QString& folder) {
    const QString path = folder + "/pipe.txt";
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0 ? path : QString();
}

QString socketFile(const QString& folder) {
    const QString path = folder + "/socket.txt";
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || name.size() >= static_cast<qsizetype>(sizeof address.sun_path)) return {};
    std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);  // the socket's file stays
    return bound ? path : QString();
}

struct SpecialFile {
    const char* name;
    // Makes it in the folder, or names it; empty when it cannot be had here.
    std::function<QString(const QString& folder)> make;
};

void PrintTo(const SpecialFile& file, std::ostream* out) {
    *out << file.name;
}

const SpecialFile kSpecialFiles[] = {
    {"NamedPipe", namedPipe},
    {"LinkToANamedPipe",
     [](const QString& folder) {
         const QString link = folder + "/link.txt";
         return QFile::link(namedPipe(folder), link) ? link : QString();
     }},
    {"Socket", socketFile},
    {"DevNull", [](const QString&) { return QStringLiteral("/dev/null"); }},
    {"DevZero", [](const QString&) { return QStringLiteral("/dev/zero"); }},
    {"DevUrandom", [](const QString&) { return QStringLiteral("/dev/urandom"); }},
    {"BlockDevice",
     [](const QString&) {
         struct stat info {};
         return ::stat("/dev/loop0", &info) == 0 && S_ISBLK(info.st_mode)
                    ? QStringLiteral("/dev/loop0")
                    : QString();
     }},
};

class NotARegularFile : public BadNameFile, public ::testing::WithParamInterface<SpecialFile> {};

TEST_P(NotARegularFile, IsReportedOnceAndSkippedAndTheNextFileImports) {
    const QString path = GetParam().make(files.path());
    if (path.isEmpty()) GTEST_SKIP() << "cannot be made here";
    const PipeWriterNearby writer(path);
    importLastNames({path, writeFile("kept.txt", "Kept\r\n")}, 1);
    EXPECT_EQ(dialogs.messages(), QStringList{guarded::failureMessage(
                                      path + " is not a regular file", kImportTag, 108)});
    EXPECT_EQ(stored(), (QStringList{"Vance", "Kept"}));
}

INSTANTIATE_TEST_SUITE_P(Files, NotARegularFile, ::testing::ValuesIn(kSpecialFiles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BadNameFile, AFileAboveTheSizeLimitIsRefusedBeforeItIsRead) {
    QFile file(files.filePath("huge.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Ann\r\n");
    ASSERT_TRUE(file.resize(names::kNameFileLimit + 1));  // sparse: takes no room on disk
    file.close();
    importLastNames({file.fileName()}, 1);
    EXPECT_EQ(dialogs.messages(),
              QStringList{guarded::failureMessage(
                  file.fileName() + " is larger than 256 MB, the limit for a name file", kImportTag,
                  108)});
    EXPECT_EQ(stored(), QStringList{"Vance"});
}

}  // namespace

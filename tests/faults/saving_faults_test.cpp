// Saving results.txt where it cannot be written: a missing or read-only
// folder, a read-only file, a full disk, a node that is no regular file. The user is told, "Done."
// is not shown, and the results.txt already there stays as it was.
#include <unistd.h>

#include <functional>
#include <memory>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "file_faults.h"
#include "guarded/failure_report.h"
#include "odd_nodes.h"
#include "platform/dialogs.h"
#include "results/saving.h"
#include "support/form2_fixture.h"

namespace {

const QByteArray kPrevious = "Old Name\r\nOther Name\r\n";

void writePrevious(const QString& folder) {
    QFile file(QDir(folder).filePath("results.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kPrevious);
}

struct SavingFault {
    const char* name;
    // Puts the fault on the output folder, with a results.txt from before in
    // it; what it returns holds the fault (nullptr: it cannot be made here).
    std::function<std::shared_ptr<void>(const QString& folder)> make;
    // The failure as the user reads it, for the path of results.txt; empty
    // when the missing folder is caught before anything is written.
    std::function<QString(const QString& path)> description;
    int rows = 5000;  // about 100 KB of text
};

void PrintTo(const SavingFault& fault, std::ostream* out) {
    *out << fault.name;
}

QString cannotWrite(const QString& path, const QString& reason) {
    return "Cannot write " + path + ": " + reason;
}

const SavingFault kFaults[] = {
    {"FolderMissing",
     [](const QString& folder) {
         writePrevious(folder);
         return std::make_shared<int>();
     },
     nullptr},
    {"FolderReadOnly",
     [](const QString& folder) -> std::shared_ptr<void> {
         writePrevious(folder);
         auto readOnly = std::make_shared<faults::ReadOnly>(folder);
         return readOnly->holds() ? readOnly : nullptr;
     },
     [](const QString& path) {
         // Made immutable for root, without write permission for others.
         return cannotWrite(path,
                            ::geteuid() == 0 ? "Operation not permitted" : "Permission denied");
     }},
    {"FileReadOnly",
     [](const QString& folder) -> std::shared_ptr<void> {
         writePrevious(folder);
         auto readOnly = std::make_shared<faults::ReadOnly>(QDir(folder).filePath("results.txt"));
         return readOnly->holds() ? readOnly : nullptr;
     },
     [](const QString& path) {
         return cannotWrite(path, "Existing file " + path + " is not writable");
     }},
    {"DiskFull",
     [](const QString& folder) -> std::shared_ptr<void> {
         auto disk = std::make_shared<faults::SmallFileSystem>(folder, 64);
         if (!disk->holds()) return nullptr;
         writePrevious(folder);
         return disk;
     },
     [](const QString& path) { return cannotWrite(path, "No space left on device"); }},
    {"FileSizeLimit",
     [](const QString& folder) -> std::shared_ptr<void> {
         writePrevious(folder);
         auto limit = std::make_shared<faults::FileSizeLimit>(64 * 1024);
         return limit->holds() ? limit : nullptr;
     },
     [](const QString& path) { return cannotWrite(path, "File too large"); }},
    // Less than fills the file's buffer: the failure comes when it is written out.
    {"FileSizeLimitSmallText",
     [](const QString& folder) -> std::shared_ptr<void> {
         writePrevious(folder);
         auto limit = std::make_shared<faults::FileSizeLimit>(100);
         return limit->holds() ? limit : nullptr;
     },
     [](const QString& path) { return cannotWrite(path, "File too large"); }, 20},
};

class SaveWhereItCannotBeWritten : public testsupport::Form2Fixture,
                                   public ::testing::WithParamInterface<SavingFault> {};

TEST_P(SaveWhereItCannotBeWritten, TheUserIsToldAndTheOldFileStays) {
    const SavingFault& fault = GetParam();
    QTemporaryDir output;
    std::shared_ptr<void> held = fault.make(output.path());
    if (!held) GTEST_SKIP() << "this fault cannot be made here";
    const QString path = output.filePath("results.txt");

    open();
    QStringList names;
    for (int i = 1; i <= fault.rows; ++i) names << QStringLiteral("Name%1 Last%1").arg(i);
    fill(names);
    const bool folderMissing = !fault.description;
    form2->Text2->setText(folderMissing ? output.filePath("gone") : output.path());
    form2->Option4->setChecked(true);
    dialogs.expectMessageBox();
    form2->PushButton2->click();

    ASSERT_EQ(dialogs.messages().size(), 1);
    if (folderMissing) {
        EXPECT_EQ(dialogs.messages()[0], results::kFolderMissing);
        EXPECT_EQ(dialogs.shown()[0].style, platform::MessageStyle::Ok);
    } else {
        EXPECT_EQ(dialogs.messages()[0],
                  guarded::failureMessage(fault.description(path),
                                          "Tolvarine2021/08/31.Form2.PushButton2_Click", 122));
    }
    EXPECT_EQ(faults::contents(path), kPrevious);
    EXPECT_EQ(faults::entries(output.path()), QStringList{"results.txt"});
}

INSTANTIATE_TEST_SUITE_P(Faults, SaveWhereItCannotBeWritten, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

// A results.txt that is, or leads to, anything but a regular file: the save
// is refused at the writing statement and the node stays as it was, where
// writing beside it and renaming would have put a file in its place.
class SaveOverANodeThatIsNoFile : public testsupport::Form2Fixture,
                                  public ::testing::WithParamInterface<faults::Node> {};

TEST_P(SaveOverANodeThatIsNoFile, IsReportedAndLeftUntouched) {
    QTemporaryDir output;
    const QString path = output.filePath("results.txt");
    if (!GetParam().make(path)) GTEST_SKIP() << "cannot be made here";
    const QString before = faults::describe(path);
    const QStringList entries = faults::entries(output.path());

    open();
    fill({"Anna Berg", "Tom Hale"});
    form2->Text2->setText(output.path());
    dialogs.expectMessageBox();
    form2->PushButton2->click();

    const QString why = QFileInfo(path).exists() ? path + " is not a regular file"
                                                 : path + " is a link that leads to no file";
    EXPECT_EQ(dialogs.messages(),
              QStringList{guarded::failureMessage(
                  cannotWrite(path, why), "Tolvarine2021/08/31.Form2.PushButton2_Click", 122)});
    EXPECT_EQ(faults::describe(path), before);
    EXPECT_EQ(faults::entries(output.path()), entries);
}

INSTANTIATE_TEST_SUITE_P(nodes, SaveOverANodeThatIsNoFile, ::testing::ValuesIn(faults::nodes()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

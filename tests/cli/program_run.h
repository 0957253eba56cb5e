#pragma once

// The program run from the command line: each test copies it with its own
// names.mdb into a folder of its own and runs it as a separate process,
// without a display.
#include <ostream>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "names/name_database_file.h"

namespace clitest {

struct Outcome {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

inline QStringList lines(const QByteArray& text) {
    QStringList result = QString::fromUtf8(text).split(QLatin1Char('\n'));
    if (!result.isEmpty() && result.last().isEmpty()) result.removeLast();
    return result;
}

inline QSet<QString> setOf(const QStringList& list) {
    return QSet<QString>(list.begin(), list.end());
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        // The program in a folder of its own, with its module where it looks for it.
        const QString modules = path(QStringLiteral("bin/" QF_MODULE_FOLDER_FROM_PROGRAM));
        ASSERT_TRUE(QDir().mkpath(modules));
        ASSERT_TRUE(QFile::copy(QStringLiteral(QF_CLI_PROGRAM), program()));
        ASSERT_TRUE(QFile::copy(QStringLiteral(QF_CLI_MODULE),
                                modules + QStringLiteral("/quillfern-windows.so")));
        ASSERT_TRUE(QFile::copy(QStringLiteral(QF_BUILT_NAMES_DB), database()));
        QFile(database()).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QDir(dir_.path()).mkdir(QStringLiteral("config"));
    }

    QString path(const QString& name) const { return dir_.filePath(name); }
    QString program() const { return path(QStringLiteral("bin/quillfern")); }
    QString database() const { return path(QStringLiteral("bin/names.mdb")); }

    QProcessEnvironment environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("data")));
        return environment;
    }

    Outcome run(const QStringList& arguments) const { return start(program(), arguments); }

    // A bash line with $Q standing for the program.
    Outcome shell(const QString& line) const {
        return start(QStringLiteral("/bin/bash"),
                     {QStringLiteral("-c"),
                      QStringLiteral("Q='") + program() + QStringLiteral("'; ") + line});
    }

    Outcome start(const QString& executable, const QStringList& arguments) const {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.setWorkingDirectory(dir_.path());
        process.start(executable, arguments);
        process.closeWriteChannel();
        Outcome outcome;
        if (!process.waitForFinished(120000)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "did not end: " << arguments.join(' ').toStdString();
            return outcome;
        }
        outcome.status =
            process.exitStatus() == QProcess::NormalExit ? process.exitCode() : 128 + 999;
        outcome.out = process.readAllStandardOutput();
        outcome.err = process.readAllStandardError();
        return outcome;
    }

    // Lists of the User List, replaced by these names.
    void setUserList(const QStringList& first, const QStringList& last) {
        QFile::remove(database());
        QFile::remove(database() + QStringLiteral("-wal"));
        names::createNameDatabase(database(), names::NameTables{{QStringLiteral("Adam")},
                                                                {QStringLiteral("Eve")},
                                                                {QStringLiteral("Stone")},
                                                                first,
                                                                last});
    }

    QTemporaryDir dir_;
};

// One line "quillfern: ..." holding `says`, nothing on standard output.
inline void expectError(const Outcome& outcome, int status, const QString& says) {
    EXPECT_EQ(outcome.status, status) << outcome.err.toStdString();
    EXPECT_TRUE(outcome.out.isEmpty());
    const QString err = QString::fromUtf8(outcome.err);
    EXPECT_TRUE(err.startsWith(QStringLiteral("quillfern: ")) && err.endsWith('\n') &&
                err.count('\n') == 1)
        << err.toStdString();
    EXPECT_TRUE(err.contains(says)) << err.toStdString() << " lacks " << says.toStdString();
}

// A run the command line refuses: one line that says `says`, status 2.
struct UsageCase {
    const char* name;
    QStringList arguments;
    QString says;
};

inline void PrintTo(const UsageCase& usage, std::ostream* out) {
    *out << usage.name;
}

// Each test file instantiates its own table of refusals.
class UsageErrors : public CommandLine, public ::testing::WithParamInterface<UsageCase> {};

}  // namespace clitest

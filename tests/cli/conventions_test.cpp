// The conventions of file arguments: "-" is standard input for `import` and
// standard output for `-o`, and `-o` takes what standard output already is.
#include <gtest/gtest.h>

#include "program_run.h"
#include "support/qt_printers.h"

namespace {

using namespace clitest;

TEST_F(CommandLine, OutputToDashOrToStandardOutputsOwnPathIsStandardOutput) {
    const QByteArray plain = run({"generate", "-n", "500", "--seed", "2"}).out;
    ASSERT_EQ(lines(plain).size(), 500);
    EXPECT_EQ(run({"generate", "-n", "500", "--seed", "2", "-o", "-"}).out, plain);
    // Standard output a pipe, then a file.
    EXPECT_EQ(shell("\"$Q\" generate -n 500 --seed 2 -o /dev/stdout | cat").out, plain);
    const Outcome redirected =
        shell("\"$Q\" generate -n 500 --seed 2 -o /dev/stdout > kept.txt; cat kept.txt");
    EXPECT_EQ(redirected.out, plain) << redirected.err.toStdString();
    // Another pipe than standard output is still no file to write.
    expectError(shell("set -o pipefail; \"$Q\" generate -n 5 -o /dev/stderr | cat"), 1,
                "/dev/stderr is not a regular file");
}

TEST_F(CommandLine, ImportOfDashReadsStandardInput) {
    setUserList({}, {});
    writeFile(path("b.txt"), "Ann\n");
    const Outcome outcome = shell("printf 'Kim\\r\\nLee' | \"$Q\" import first - b.txt");
    EXPECT_EQ(outcome.status, 0) << outcome.err.toStdString();
    EXPECT_EQ(lines(outcome.out),
              (QStringList{"standard input: 2 names added", "b.txt: 1 name added"}));
    EXPECT_EQ(lines(run({"names", "first", "--list", "user"}).out),
              (QStringList{"Ann", "Kim", "Lee"}));
}

}  // namespace

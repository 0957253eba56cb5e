#include "cli/run.h"

#include <csignal>
#include <cstdio>
#include <new>

#include <QCoreApplication>
#include <QStringList>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/output.h"
#include "names/database_location.h"
#include "platform/failure.h"

namespace cli {

namespace {

QStringList argumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// Qt's own warnings would add lines to the one line of an error; what went
// wrong reaches the user as that line.
void dropQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) std::fputs((message + QLatin1Char('\n')).toLocal8Bit(), stderr);
}

}  // namespace

bool wantsCommandLine(int argc, char* argv[]) {
    return cli::wantsCommandLine(argumentsOf(argc, argv));
}

int run(int argc, char* argv[]) {
    // A closed pipe and a file size limit show as write errors, not as signals.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    qInstallMessageHandler(dropQtMessages);
    const QCoreApplication application(argc, argv);
    try {
        const Action action = parseArguments(argumentsOf(argc, argv));
        return action(names::nameDatabasePath);
    } catch (const UsageError& error) {
        printError(error.message());
        return 2;
    } catch (const ReaderGone&) {
        return 0;  // `| head` took what it wanted
    } catch (const platform::Failure& failure) {
        printError(failure.description());
    } catch (const std::bad_alloc&) {
        printError(QStringLiteral("out of memory"));
    }
    return 1;
}

}  // namespace cli

// `names` and `import`, and the list load that `generate` shares.
#include <cstdio>

#include <QFile>
#include <QTemporaryFile>

#include "cli/commands.h"
#include "cli/output.h"
#include "guarded/reporter.h"
#include "guarded/standard_error_reporter.h"
#include "names/file_import.h"
#include "names/list_load.h"
#include "names/name_file.h"
#include "names/name_list_model.h"
#include "platform/failure.h"

namespace cli {

void printError(const QString& message) {
    const QString line = guarded::StandardErrorReporter::lineFor(message) + QLatin1Char('\n');
    std::fputs(line.toUtf8().constData(), stderr);
}

void loadLists(const QString& databasePath, ListSource list, Gender gender,
               names::NameListModel& firstNames, names::NameListModel& lastNames) {
    names::ListOptions options;
    options.builtInList = list == ListSource::BuiltIn;
    options.userList = list == ListSource::User;
    options.both = gender == Gender::Both;
    options.maleOnly = gender == Gender::Male;
    options.femaleOnly = gender == Gender::Female;
    try {
        names::loadLists(databasePath, options, firstNames, lastNames);
    } catch (const platform::Failure& failure) {
        throw platform::Failure(QStringLiteral("cannot read the names in ") + databasePath +
                                QStringLiteral(": ") + failure.description());
    }
}

void printNames(const NamesRequest& request, const QString& databasePath) {
    names::NameListModel firstNames;
    names::NameListModel lastNames;
    loadLists(databasePath, request.list, request.gender, firstNames, lastNames);
    TextWriter writer(OutputOptions{});
    const names::NameListModel& shown = request.kind == NameKind::First ? firstNames : lastNames;
    for (const QString& name : shown.entries()) writer.addUtf8Row({name.toUtf8().toStdString()});
    writer.finish();
}

namespace {

// How messages name an import's file argument.
QString shownName(const QString& argument) {
    return argument == QLatin1String("-") ? QStringLiteral("standard input") : argument;
}

// Standard input as a name file: copied whole into a temporary file, so that
// it is read as any name file is (and refused as one when it is too large).
class StandardInputCopy {
public:
    StandardInputCopy() {
        QFile input;
        if (!input.open(stdin, QIODevice::ReadOnly) || !copy_.open())
            throw platform::Failure(QStringLiteral("cannot read standard input"));
        for (qint64 copied = 0; copied <= names::kNameFileLimit;) {
            const QByteArray chunk = input.read(1 << 20);
            if (chunk.isEmpty()) break;
            if (copy_.write(chunk) != chunk.size())
                throw platform::Failure(QStringLiteral("cannot keep standard input: ") +
                                        copy_.errorString());
            copied += chunk.size();
        }
        copy_.close();
    }
    QString path() const { return copy_.fileName(); }

private:
    QTemporaryFile copy_;
};

// Imports one file argument ("-": standard input); failures name it as the
// messages show it.
int importOne(const names::ImportContext& context, const QString& argument, names::NameKind kind) {
    if (argument != QLatin1String("-")) return names::FileToListview(context, argument, kind);
    const StandardInputCopy input;
    try {
        return names::FileToListview(context, input.path(), kind);
    } catch (const platform::Failure& failure) {
        throw platform::Failure(
            QString(failure.description()).replace(input.path(), shownName(argument)));
    }
}

}  // namespace

bool importFiles(const ImportRequest& request, const QString& databasePath) {
    // A database that cannot be read is told once, before any file.
    {
        names::NameListModel firstNames;
        names::NameListModel lastNames;
        loadLists(databasePath, ListSource::User, Gender::Both, firstNames, lastNames);
    }
    // The first failure, or the message the windows would show, ends the
    // import of that file.
    guarded::LetThroughReporter letThrough;
    const names::ImportContext context{letThrough,
                                       [](const QString& text) { throw platform::Failure(text); },
                                       databasePath, false, true};
    StandardOutput out;
    bool allImported = true;
    for (const QString& argument : request.files) {
        const QString file = shownName(argument);
        try {
            const int added = importOne(context, argument, request.kind);
            out.write((file + (added == 1 ? QStringLiteral(": 1 name added\n")
                                          : QStringLiteral(": %1 names added\n").arg(added)))
                          .toUtf8()
                          .toStdString());
        } catch (const platform::Failure& failure) {
            // Most descriptions name the file already.
            const QString description = failure.description();
            printError(description.startsWith(file) ? description
                                                    : file + QStringLiteral(": ") + description);
            allImported = false;
        }
    }
    return allImported;
}

}  // namespace cli

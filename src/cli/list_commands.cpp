// `names` and `import`, and the list load that `generate` shares.
#include <cstdio>

#include "cli/commands.h"
#include "cli/output.h"
#include "guarded/reporter.h"
#include "guarded/standard_error_reporter.h"
#include "names/file_import.h"
#include "names/list_load.h"
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
    StandardOutput out;
    RowWriter writer(out, Format::Text, Part::First, false);
    const names::NameListModel& shown = request.kind == NameKind::First ? firstNames : lastNames;
    for (const QString& name : shown.entries()) writer.addUtf8Row({name.toUtf8().toStdString()});
    writer.finish();
}

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
    const names::ImportSettings settings{letThrough,
                                         [](const QString& text) { throw platform::Failure(text); },
                                         databasePath, false, true};
    const std::int16_t kind =
        request.kind == NameKind::First ? names::kImportFirstNames : names::kImportLastNames;
    StandardOutput out;
    bool allImported = true;
    for (const QString& file : request.files) {
        try {
            const int added = names::FileToListview(settings, file, kind);
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

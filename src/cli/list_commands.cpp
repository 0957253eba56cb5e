// `names` and `import`, and the list load that `generate` shares.
#include <cstdio>

#include <QFile>
#include <QSet>
#include <QTemporaryFile>

#include "cli/commands.h"
#include "cli/origin_draw.h"
#include "cli/output.h"
#include "guarded/reporter.h"
#include "guarded/standard_error_reporter.h"
#include "names/file_import.h"
#include "names/list_load.h"
#include "names/name_file.h"
#include "names/name_list_model.h"
#include "names/origin_store.h"
#include "names/proper_case.h"
#include "platform/database.h"
#include "platform/failure.h"

namespace cli {

void printError(const QString& message) {
    const QString line = guarded::StandardErrorReporter::lineFor(message) + QLatin1Char('\n');
    std::fputs(line.toUtf8().constData(), stderr);
}

void printLines(const QStringList& lines) {
    TextWriter writer(OutputOptions{QString(), Part::First});
    for (const QString& line : lines) {
        const QByteArray utf8 = line.toUtf8();
        PersonRow row;
        row.person.first =
            std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()));
        writer.add(row);
    }
    writer.finish();
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

namespace {

// Letter case ignored: the first of the names that differ only in it stays.
QStringList distinctIgnoringCase(const QStringList& names) {
    QStringList kept;
    QSet<QString> seen;
    for (const QString& name : names)
        if (!seen.contains(name.toCaseFolded())) seen.insert(name.toCaseFolded()), kept << name;
    return kept;
}

// One origin's names of the kind, as its built-in tables hold them.
QStringList originNamesOf(platform::Database& database, const QString& tag,
                          const NamesRequest& request) {
    if (request.kind == NameKind::First && request.gender == Gender::Unisex) {
        QStringList unisex;
        const names::OriginEntry drawn = names::originForDrawing(database, tag);
        for (const names::ListedName& listed : drawn[names::OriginList::Unisex])
            unisex << listed.name;
        return unisex;
    }
    const names::OriginTables tables = names::editedTables(database, tag);
    if (request.kind == NameKind::Last) return tables.last;
    if (request.gender == Gender::Male) return tables.maleFirst;
    if (request.gender == Gender::Female) return tables.femaleFirst;
    return tables.maleFirst + tables.femaleFirst;
}

// The origins' lists as the list view shows them while those origins are
// current: first names once whatever their letter case, all in the
// program's name order, each name in ProperCase.
void printOriginNames(const NamesRequest& request, const QString& databasePath) {
    QStringList shown;
    try {
        platform::Database database;
        database.open(databasePath);
        for (const std::string& tag : readOriginMix(database, request.origins).tags)
            shown += originNamesOf(database, QString::fromStdString(tag), request);
    } catch (const platform::Failure& failure) {
        throw platform::Failure(QStringLiteral("cannot read the names in ") + databasePath +
                                QStringLiteral(": ") + failure.description());
    }
    if (request.kind == NameKind::First) shown = distinctIgnoringCase(shown);
    platform::sortInNameOrder(shown);
    for (QString& name : shown) name = names::ProperCase(name);
    printLines(shown);
}

}  // namespace

void printNames(const NamesRequest& request, const QString& databasePath) {
    if (!request.origins.isEmpty()) {
        printOriginNames(request, databasePath);
        return;
    }
    names::NameListModel firstNames;
    names::NameListModel lastNames;
    loadLists(databasePath, request.list, request.gender, firstNames, lastNames);
    const names::NameListModel& shown = request.kind == NameKind::First ? firstNames : lastNames;
    printLines(shown.entries());
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

// `names` and `import` in the table of commands, and the options they share
// with `generate`.
#include "cli/command.h"
#include "cli/commands.h"
#include "cli/origin_draw.h"

namespace cli {

namespace {

constexpr std::array kListWords{std::pair{"builtin", ListSource::BuiltIn},
                                std::pair{"user", ListSource::User}};
constexpr std::array kGenderWords{std::pair{"both", Gender::Both}, std::pair{"male", Gender::Male},
                                  std::pair{"female", Gender::Female},
                                  std::pair{"unisex", Gender::Unisex},
                                  std::pair{"any", Gender::Any}};

// The first operand (first|last).
NameKind nameKind(const QString& command, const QStringList& positional) {
    if (positional.isEmpty())
        throw UsageError(command + QStringLiteral(": say which list: first or last"));
    if (positional.front() == QLatin1String("first")) return NameKind::First;
    if (positional.front() == QLatin1String("last")) return NameKind::Last;
    throw UsageError(command + QStringLiteral(": the list must be first or last, not ") +
                     quoted(positional.front()));
}

NamesRequest parseNames(const Arguments& arguments) {
    const QStringList positional = arguments.positional();
    NamesRequest request;
    request.kind = nameKind(arguments.command(), positional);
    refuseArguments(arguments.command(), positional.mid(1));
    request.list = listOf(arguments);
    request.gender = genderOf(arguments, request.list);
    request.origins = arguments.isSet("origin") ? originsOf(arguments, request.list) : QString();
    if (request.origins.isEmpty() && request.gender == Gender::Unisex)
        throw UsageError(QStringLiteral("--gender unisex needs --origin"));
    return request;
}

int runNames(const NamesRequest& request, const QString& databasePath) {
    printNames(request, databasePath);
    return 0;
}

ImportRequest parseImport(const Arguments& arguments) {
    const QStringList positional = arguments.positional();
    ImportRequest request;
    request.kind = nameKind(arguments.command(), positional);
    request.files = positional.mid(1);
    if (request.files.isEmpty())
        throw UsageError(arguments.command() +
                         QStringLiteral(": name at least one file to import"));
    return request;
}

int runImport(const ImportRequest& request, const QString& databasePath) {
    return importFiles(request, databasePath) ? 0 : 1;
}

}  // namespace

Option listOption() {
    return {{QStringLiteral("list")},
            QStringLiteral("LIST"),
            alternatives(wordsOf(kListWords)) + QStringLiteral(" (default builtin)"),
            wordsOf(kListWords)};
}

Option genderOption(const QString& appliesTo) {
    return {{QStringLiteral("gender")},
            QStringLiteral("GENDER"),
            alternatives(wordsOf(kGenderWords)) + QStringLiteral(" (default both; ") + appliesTo +
                QStringLiteral("; any adds unisex names where an origin has them)"),
            wordsOf(kGenderWords)};
}

Option originOption() {
    return {{QStringLiteral("origin")},
            QStringLiteral("TAGS"),
            QStringLiteral("origins such as de, de,fr,it, en-US:70,es-MX:30 or all (default ") +
                QLatin1String(kDefaultOrigin) +
                QStringLiteral("; built-in list only; quillfern origins lists them)"),
            {}};
}

QString originsOf(const Arguments& arguments, ListSource list) {
    if (!arguments.isSet("origin")) return QLatin1String(kDefaultOrigin);
    if (list == ListSource::User)
        throw UsageError(QStringLiteral("--origin applies to the built-in list only"));
    return arguments.value("origin");
}

ListSource listOf(const Arguments& arguments) {
    return arguments.choice("list", kListWords, ListSource::BuiltIn);
}

// --gender chooses among the built-in first names only.
Gender genderOf(const Arguments& arguments, ListSource list) {
    if (list == ListSource::User && arguments.isSet("gender"))
        throw UsageError(QStringLiteral("--gender applies to the built-in list only"));
    return arguments.choice("gender", kGenderWords, Gender::Both);
}

void refuseArguments(const QString& command, const QStringList& unexpected) {
    if (!unexpected.isEmpty())
        throw UsageError(command + QStringLiteral(": unexpected argument ") +
                         quoted(unexpected.front()));
}

Command namesCommand() {
    return {
        QStringLiteral("names"),
        QStringLiteral("first|last [OPTIONS]"),
        QStringLiteral("print a name list as the main window shows it"),
        QStringLiteral("Prints a name list as the main window's list view shows it, one name per "
                       "line; with --origin, the lists of those origins."),
        {listOption(), originOption(), genderOption(QStringLiteral("built-in first names only"))},
        parseThenRun(parseNames, runNames),
    };
}

Command importCommand() {
    return {
        QStringLiteral("import"),
        QStringLiteral("first|last FILE..."),
        QStringLiteral("add names from text files to the User List"),
        QStringLiteral("Adds the names of text files to the User List, one name per line, by the "
                       "rules of the main window's \"Load ... From File\" buttons, and prints how "
                       "many names each file added. FILE - is standard input."),
        {},
        parseThenRun(parseImport, runImport),
    };
}

}  // namespace cli

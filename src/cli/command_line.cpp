#include "cli/command_line.h"

#include <algorithm>
#include <array>
#include <limits>

#include <QCommandLineParser>
#include <QLocale>

#include "platform/workbook.h"

namespace cli {

namespace {

const QString kMainHelp = QStringLiteral(
    "Usage: quillfern [COMMAND] [OPTIONS]\n"
    "\n"
    "Random names for scripts and test data. Without a command the windows open.\n"
    "\n"
    "Commands:\n"
    "  generate    draw names and write them\n"
    "  names       print a name list as the main window shows it\n"
    "  import      add names from text files to the User List\n"
    "\n"
    "Options:\n"
    "  -h, --help  show this help; after a command, that command's help\n"
    "  --version   show the version\n"
    "\n"
    "Exit status: 0 done, 1 failure, 2 usage error.\n");

const QString kGenerateHelp = QStringLiteral(
    "Usage: quillfern generate [OPTIONS]\n"
    "\n"
    "Draws names from the name lists and writes them, one per line.\n"
    "\n"
    "  -n, --count N        how many names, 1 to 2147483647 (default 100)\n"
    "      --part PART      full, first or last (default full)\n"
    "      --list LIST      builtin or user (default builtin)\n"
    "      --gender GENDER  both, male or female (default both; built-in list only)\n"
    "      --seed N         the same seed gives the same names, 0 to 18446744073709551615\n"
    "      --unique         no name twice; refused when the lists hold too few names\n"
    "      --format FORMAT  text, csv or xlsx (default text)\n"
    "      --crlf           end lines with CR LF instead of LF (text and csv)\n"
    "  -o, --output FILE    write FILE whole or not at all (default: standard output;\n"
    "                       xlsx needs a file)\n"
    "  -h, --help           show this help\n");

const QString kNamesHelp = QStringLiteral(
    "Usage: quillfern names first|last [OPTIONS]\n"
    "\n"
    "Prints a name list as the main window's list view shows it, one name per line.\n"
    "\n"
    "      --list LIST      builtin or user (default builtin)\n"
    "      --gender GENDER  both, male or female (default both; built-in first names only)\n"
    "  -h, --help           show this help\n");

const QString kImportHelp = QStringLiteral(
    "Usage: quillfern import first|last FILE...\n"
    "\n"
    "Adds the names of text files to the User List, one name per line, by the rules\n"
    "of the main window's \"Load ... From File\" buttons, and prints how many names\n"
    "each file added.\n"
    "\n"
    "  -h, --help  show this help\n");

// The window system's own options, with a dash or two; the first group takes
// a value as the next argument (or after '=').
constexpr std::array kQtOptionsWithValue{"platform",        "platformpluginpath",
                                         "platformtheme",   "plugin",
                                         "qwindowgeometry", "qwindowicon",
                                         "qwindowtitle",    "session",
                                         "display",         "geometry",
                                         "title",           "name",
                                         "visual",          "style",
                                         "stylesheet"};
constexpr std::array kQtFlags{"reverse", "widgetcount", "nograb",
                              "dograb",  "sync",        "qmljsdebugger"};

// The option's name without its dashes and without "=value".
QString optionName(const QString& argument) {
    QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
    return name.left(name.indexOf(QLatin1Char('=')));
}

template <std::size_t N>
bool isOneOf(const QString& name, const std::array<const char*, N>& names) {
    for (const char* candidate : names)
        if (name == QLatin1String(candidate)) return true;
    return false;
}

bool isDigits(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The value of an option that takes one of a few words.
template <class T, std::size_t N>
T choice(const QCommandLineParser& parser, const char* option,
         const std::array<std::pair<const char*, T>, N>& words, T fallback) {
    if (!parser.isSet(QLatin1String(option))) return fallback;
    const QString value = parser.value(QLatin1String(option));
    QStringList allowed;
    for (const auto& [word, meaning] : words) {
        if (value == QLatin1String(word)) return meaning;
        allowed << QLatin1String(word);
    }
    const QString last = allowed.takeLast();
    throw UsageError(QStringLiteral("--") + QLatin1String(option) + QStringLiteral(" must be ") +
                     allowed.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last +
                     QStringLiteral(", not ") + quoted(value));
}

constexpr std::array kListWords{std::pair{"builtin", ListSource::BuiltIn},
                                std::pair{"user", ListSource::User}};
constexpr std::array kGenderWords{std::pair{"both", Gender::Both}, std::pair{"male", Gender::Male},
                                  std::pair{"female", Gender::Female}};
constexpr std::array kPartWords{std::pair{"full", Part::Full}, std::pair{"first", Part::First},
                                std::pair{"last", Part::Last}};
constexpr std::array kFormatWords{std::pair{"text", Format::Text}, std::pair{"csv", Format::Csv},
                                  std::pair{"xlsx", Format::Xlsx}};

const QCommandLineOption kHelp({QStringLiteral("h"), QStringLiteral("help")}, QString());
const QCommandLineOption kList(QStringLiteral("list"), QString(), QStringLiteral("LIST"));
const QCommandLineOption kGender(QStringLiteral("gender"), QString(), QStringLiteral("GENDER"));

// Parses one command's arguments; false when its help was asked for.
bool parse(QCommandLineParser& parser, const QString& command, const QStringList& arguments) {
    parser.addOption(kHelp);
    if (!parser.parse(QStringList{QStringLiteral("quillfern")} + arguments)) {
        QString error = parser.errorText();
        if (error.endsWith(QLatin1Char('.'))) error.chop(1);
        throw UsageError(command + QStringLiteral(": ") + error);
    }
    return !parser.isSet(kHelp);
}

// The first positional argument (first|last) and what follows it.
NameKind nameKind(const QString& command, const QStringList& positional) {
    if (positional.isEmpty())
        throw UsageError(command + QStringLiteral(": say which list: first or last"));
    if (positional.front() == QLatin1String("first")) return NameKind::First;
    if (positional.front() == QLatin1String("last")) return NameKind::Last;
    throw UsageError(command + QStringLiteral(": the list must be first or last, not ") +
                     quoted(positional.front()));
}

void refuseArguments(const QString& command, const QStringList& unexpected) {
    if (!unexpected.isEmpty())
        throw UsageError(command + QStringLiteral(": unexpected argument ") +
                         quoted(unexpected.front()));
}

// --gender chooses among the built-in first names only.
Gender genderFor(const QCommandLineParser& parser, ListSource list) {
    if (list == ListSource::User && parser.isSet(kGender))
        throw UsageError(QStringLiteral("--gender applies to the built-in list only"));
    return choice(parser, "gender", kGenderWords, Gender::Both);
}

std::uint64_t parseSeed(const QString& text) {
    bool ok = false;
    const qulonglong seed = text.toULongLong(&ok);
    if (!ok || !isDigits(text))
        throw UsageError(QStringLiteral("the seed must be a whole number from 0 to ") +
                         QString::number(std::numeric_limits<std::uint64_t>::max()) +
                         QStringLiteral(", not ") + quoted(text));
    return seed;
}

Request parseGenerate(const QStringList& arguments) {
    const QString command = QStringLiteral("generate");
    QCommandLineParser parser;
    const QCommandLineOption count({QStringLiteral("n"), QStringLiteral("count")}, QString(),
                                   QStringLiteral("N"));
    const QCommandLineOption part(QStringLiteral("part"), QString(), QStringLiteral("PART"));
    const QCommandLineOption seed(QStringLiteral("seed"), QString(), QStringLiteral("N"));
    const QCommandLineOption unique(QStringLiteral("unique"), QString());
    const QCommandLineOption format(QStringLiteral("format"), QString(), QStringLiteral("FORMAT"));
    const QCommandLineOption crlf(QStringLiteral("crlf"), QString());
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, QString(),
                                    QStringLiteral("FILE"));
    parser.addOptions({count, part, kList, kGender, seed, unique, format, crlf, output});
    if (!parse(parser, command, arguments)) return PrintRequest{kGenerateHelp};
    refuseArguments(command, parser.positionalArguments());

    GenerateRequest request;
    if (parser.isSet(count)) request.count = parseCount(parser.value(count));
    request.part = choice(parser, "part", kPartWords, Part::Full);
    request.list = choice(parser, "list", kListWords, ListSource::BuiltIn);
    request.gender = genderFor(parser, request.list);
    if (parser.isSet(seed)) request.seed = parseSeed(parser.value(seed));
    request.unique = parser.isSet(unique);
    request.format = choice(parser, "format", kFormatWords, Format::Text);
    request.crlf = parser.isSet(crlf);
    request.output = parser.value(output);
    if (parser.isSet(output) && request.output.isEmpty())
        throw UsageError(QStringLiteral("--output needs a file name"));
    if (request.format == Format::Xlsx && request.output.isEmpty())
        throw UsageError(
            QStringLiteral("--format xlsx writes a workbook file: give it with -o FILE"));
    if (request.format == Format::Xlsx && request.count > platform::kWorksheetRows)
        throw UsageError(QStringLiteral("a worksheet holds at most ") +
                         grouped(platform::kWorksheetRows) + QStringLiteral(" rows"));
    if (request.format == Format::Xlsx && request.crlf)
        throw UsageError(QStringLiteral("--crlf applies to text and csv only"));
    return request;
}

Request parseNames(const QStringList& arguments) {
    const QString command = QStringLiteral("names");
    QCommandLineParser parser;
    parser.addOptions({kList, kGender});
    if (!parse(parser, command, arguments)) return PrintRequest{kNamesHelp};
    const QStringList positional = parser.positionalArguments();
    NamesRequest request;
    request.kind = nameKind(command, positional);
    refuseArguments(command, positional.mid(1));
    request.list = choice(parser, "list", kListWords, ListSource::BuiltIn);
    request.gender = genderFor(parser, request.list);
    return request;
}

Request parseImport(const QStringList& arguments) {
    const QString command = QStringLiteral("import");
    QCommandLineParser parser;
    if (!parse(parser, command, arguments)) return PrintRequest{kImportHelp};
    const QStringList positional = parser.positionalArguments();
    ImportRequest request;
    request.kind = nameKind(command, positional);
    request.files = positional.mid(1);
    if (request.files.isEmpty())
        throw UsageError(command + QStringLiteral(": name at least one file to import"));
    return request;
}

}  // namespace

bool wantsCommandLine(const QStringList& arguments) {
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!argument.startsWith(QLatin1Char('-'))) return true;
        const QString name = optionName(argument);
        if (isOneOf(name, kQtOptionsWithValue)) {
            if (!argument.contains(QLatin1Char('='))) ++i;  // its value
        } else if (!isOneOf(name, kQtFlags)) {
            return true;
        }
    }
    return false;
}

Request parseArguments(const QStringList& arguments) {
    const QString first = arguments.value(0);
    const QStringList rest = arguments.mid(1);
    if (first == QLatin1String("generate")) return parseGenerate(rest);
    if (first == QLatin1String("names")) return parseNames(rest);
    if (first == QLatin1String("import")) return parseImport(rest);
    if (first == QLatin1String("--help") || first == QLatin1String("-h") ||
        first == QLatin1String("help"))
        return PrintRequest{kMainHelp};
    if (first == QLatin1String("--version"))
        return PrintRequest{QStringLiteral("quillfern " QF_VERSION "\n")};
    if (first.startsWith(QLatin1Char('-')))
        throw UsageError(QStringLiteral("unknown option ") + quoted(first) +
                         QStringLiteral(" (quillfern --help lists the commands)"));
    throw UsageError(QStringLiteral("unknown command ") + quoted(first) +
                     QStringLiteral(" (quillfern --help lists the commands)"));
}

QString grouped(std::uint64_t number) {
    return QLocale(QLocale::English).toString(static_cast<qulonglong>(number));
}

std::int32_t parseCount(const QString& text) {
    if (!isDigits(text))
        throw UsageError(QStringLiteral("the count must be a whole number from 1 to ") +
                         QString::number(kMaxCount) + QStringLiteral(", not ") + quoted(text));
    // Leading zeros are fine; more than ten digits left is over the limit anyway.
    qsizetype start = 0;
    while (start + 1 < text.size() && text[start] == u'0') ++start;
    const QStringView digits = QStringView(text).mid(start);
    const qlonglong value = digits.size() > 10 ? kMaxCount + 1 : digits.toLongLong();
    if (value < 1)
        throw UsageError(QStringLiteral("the count must be at least 1, not ") + quoted(text));
    if (value > kMaxCount)
        throw UsageError(QStringLiteral("the count ") + quoted(text) +
                         QStringLiteral(" is over the limit of ") + QString::number(kMaxCount));
    return static_cast<std::int32_t>(value);
}

}  // namespace cli

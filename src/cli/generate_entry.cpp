// `generate` in the table of commands: its options and how they are read.
#include <limits>

#include "cli/command.h"
#include "cli/commands.h"
#include "cli/formats.h"
#include "cli/invent.h"

namespace cli {

namespace {

constexpr std::array kPartWords{std::pair{"full", Part::Full}, std::pair{"first", Part::First},
                                std::pair{"last", Part::Last}};

// The output file, "-" being standard output as no file is.
QString outputOf(const Arguments& arguments) {
    const QString output = arguments.value("output");
    if (arguments.isSet("output") && output.isEmpty())
        throw UsageError(QStringLiteral("--output needs a file name"));
    return output == QLatin1String("-") ? QString() : output;
}

GenerateRequest parseGenerate(const Arguments& arguments) {
    refuseArguments(arguments.command(), arguments.positional());
    GenerateRequest request;
    if (arguments.isSet("count")) request.count = parseCount(arguments.value("count"));
    request.part = arguments.choice("part", kPartWords, Part::Full);
    request.list = listOf(arguments);
    request.gender = genderOf(arguments, request.list);
    if (arguments.isSet("seed")) request.seed = parseSeed(arguments.value("seed"));
    request.unique = arguments.isSet("unique");
    request.format = arguments.word("format", formatWords().first());
    request.crlf = arguments.isSet("crlf");
    request.output = outputOf(arguments);
    readInvention(arguments, request);  // checks the format too
    return request;
}

int runGenerate(const GenerateRequest& request, const QString& databasePath) {
    generateNames(request, databasePath);
    return 0;
}

}  // namespace

OutputOptions outputOptionsOf(const GenerateRequest& request) {
    return {request.output, request.part, request.crlf, request.count};
}

Command generateCommand() {
    Command command{
        QStringLiteral("generate"),
        QStringLiteral("[OPTIONS]"),
        QStringLiteral("draw names and write them"),
        QStringLiteral("Draws names from the name lists and writes them, one per line."),
        {
            {{QStringLiteral("n"), QStringLiteral("count")},
             QStringLiteral("N"),
             QStringLiteral("how many names, 1 to %1 (default %2)")
                 .arg(QString::number(kMaxCount), QString::number(kDefaultCount)),
             {}},
            {{QStringLiteral("part")},
             QStringLiteral("PART"),
             alternatives(wordsOf(kPartWords)) + QStringLiteral(" (default full)"),
             wordsOf(kPartWords)},
            listOption(),
            genderOption(QStringLiteral("built-in list only")),
            {{QStringLiteral("seed")},
             QStringLiteral("N"),
             QStringLiteral("the same seed gives the same names, 0 to ") +
                 QString::number(std::numeric_limits<std::uint64_t>::max()),
             {}},
            {{QStringLiteral("unique")},
             QString(),
             QStringLiteral("no name twice; refused when the lists hold too few names"),
             {}},
            {{QStringLiteral("format")},
             QStringLiteral("FORMAT"),
             alternatives(generateFormatWords()) + QStringLiteral(" (default ") +
                 generateFormatWords().first() + QLatin1Char(')'),
             generateFormatWords()},
            {{QStringLiteral("crlf")},
             QString(),
             QStringLiteral("end lines with CR LF instead of LF (not in xlsx)"),
             {}},
            {{QStringLiteral("o"), QStringLiteral("output")},
             QStringLiteral("FILE"),
             QStringLiteral("write FILE whole or not at all; - or none: standard output "
                            "(xlsx needs a file)"),
             {}},
        },
        parseThenRun(parseGenerate, runGenerate),
    };
    appendInventOptions(command.options);
    return command;
}

}  // namespace cli

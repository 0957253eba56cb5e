// `generate` in the table of commands: its options and how they are read.
#include <limits>

#include "cli/command.h"
#include "cli/commands.h"
#include "cli/formats.h"
#include "cli/invent.h"
#include "cli/origin_draw.h"
#include "generate/choice_error.h"

namespace cli {

namespace {

constexpr std::array kPartWords{std::pair{"full", Part::Full}, std::pair{"first", Part::First},
                                std::pair{"last", Part::Last}};

// --born as decades; UsageError for text that names none.
std::optional<generate::DecadeRange> bornOf(const Arguments& arguments) {
    if (!arguments.isSet("born")) return std::nullopt;
    try {
        return generate::parseBirthDecades(arguments.value("born").toStdString());
    } catch (const generate::ChoiceError& error) {
        throw UsageError(QStringLiteral("--born: ") + QString::fromStdString(error.what()));
    }
}

// --weighted and --born choose how names are drawn from the lists; an
// invented name has no frequency or birth decade of its own.
void refuseFrequenciesWithInvent(const Arguments& arguments) {
    if (!arguments.isSet("invent")) return;
    for (const char* option : {"weighted", "born"})
        if (arguments.isSet(option))
            throw UsageError(QStringLiteral("--") + QLatin1String(option) +
                             QStringLiteral(" draws names from the lists; it does not go with "
                                            "--invent, which makes new ones"));
}

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
    request.origins = originsOf(arguments, request.list);
    for (const char* option : {"mix", "latin", "weighted", "born"}) {
        if (request.list == ListSource::User && arguments.isSet(option))
            throw UsageError(QStringLiteral("--") + QLatin1String(option) +
                             QStringLiteral(" applies to the built-in list only"));
    }
    request.mix = arguments.isSet("mix");
    request.latin = arguments.isSet("latin");
    refuseFrequenciesWithInvent(arguments);
    request.weighted = arguments.isSet("weighted");
    request.born = bornOf(arguments);
    if (arguments.isSet("seed")) request.seed = parseSeed(arguments.value("seed"));
    request.unique = arguments.isSet("unique");
    if (request.unique && request.mix)
        throw UsageError(QStringLiteral("--unique does not go with --mix"));
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
        QStringLiteral("Draws names from the name lists and writes them, one per line: from the "
                       "built-in list a person of one origin a row, its first and last name "
                       "of that origin in its name order."),
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
            originOption(),
            genderOption(QStringLiteral("built-in list only")),
            {{QStringLiteral("mix")},
             QString(),
             QStringLiteral("pair first and last names of any of the origins freely"),
             {}},
            {{QStringLiteral("latin")},
             QString(),
             QStringLiteral("names in Latin letters (Cyrillic, Greek, Armenian, Georgian, Hangul, "
                            "Thai, Chinese); refused for other scripts"),
             {}},
            {{QStringLiteral("weighted")},
             QString(),
             QStringLiteral("each first and last name as often as in life, where the origin "
                            "has frequencies (quillfern origins says which); the others at equal "
                            "odds, named on standard error"),
             {}},
            {{QStringLiteral("born")},
             QStringLiteral("DECADES"),
             QStringLiteral("first names given in these decades, by their births there: 1950s, "
                            "1950s-1970s or a year such as 1985; refused for an origin without "
                            "births by decade"),
             {}},
            {{QStringLiteral("seed")},
             QStringLiteral("N"),
             QStringLiteral("the same seed gives the same names, 0 to ") +
                 QString::number(std::numeric_limits<std::uint64_t>::max()),
             {}},
            {{QStringLiteral("unique")},
             QString(),
             QStringLiteral(
                 "no name twice in an origin; refused when the lists hold too few names"),
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

// `origins`: the origins stored in names.mdb, with how many names each has.
#include <array>
#include <string>

#include "cli/command.h"
#include "cli/commands.h"
#include "cli/output.h"
#include "names/birth_store.h"
#include "names/origin_store.h"
#include "platform/database.h"
#include "platform/failure.h"

namespace cli {

namespace {

using names::OriginList;

constexpr std::array kOriginFormatWords{std::pair{"text", 0}, std::pair{"csv", 1},
                                        std::pair{"json", 2}};

struct OriginLine {
    names::OriginRecord origin;
    std::array<int, names::kOriginListCount> counts{};
    names::OriginFrequencies frequencies;  // what --weighted and --born can draw by
    int count(OriginList list) const { return counts[static_cast<std::size_t>(list)]; }
    bool gendered() const { return count(OriginList::LastFemale) > 0; }
};

std::string utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

std::string number(int n) {
    return std::to_string(n);
}

std::string textLine(const OriginLine& line) {
    std::string text = utf8(line.origin.tag.leftJustified(8) + QLatin1Char(' ') +
                            line.origin.displayName.leftJustified(26) + QLatin1Char(' '));
    text += "male " + number(line.count(OriginList::Male)) + ", female " +
            number(line.count(OriginList::Female)) + ", unisex " +
            number(line.count(OriginList::Unisex)) + ", last ";
    if (line.gendered())
        text += number(line.count(OriginList::LastMale)) + " male + " +
                number(line.count(OriginList::LastFemale)) + " female forms (gendered surnames)";
    else
        text += number(line.count(OriginList::Last));
    text += line.frequencies.frequencies ? "; frequencies" : "; no frequencies";
    text += line.frequencies.decades ? ", birth decades" : "";
    return text + '\n';
}

constexpr std::array kCountColumns{
    std::pair{"male", OriginList::Male},          std::pair{"female", OriginList::Female},
    std::pair{"unisex", OriginList::Unisex},      std::pair{"last", OriginList::Last},
    std::pair{"last_male", OriginList::LastMale}, std::pair{"last_female", OriginList::LastFemale}};

std::string csvHeader() {
    std::string header = "tag,name";
    for (const auto& [word, list] : kCountColumns) header += std::string(",") + word;
    return header + ",gendered_surnames,frequencies,decades\n";
}

std::string csvLine(const OriginLine& line) {
    std::string text;
    appendCsvField(text, utf8(line.origin.tag));
    text += ',';
    appendCsvField(text, utf8(line.origin.displayName));
    for (const auto& [word, list] : kCountColumns) text += ',' + number(line.count(list));
    for (const bool yes : {line.gendered(), line.frequencies.frequencies, line.frequencies.decades})
        text += yes ? ",yes" : ",no";
    return text + '\n';
}

std::string jsonObject(const OriginLine& line) {
    std::string text = "{\"tag\": ";
    appendJsonString(text, utf8(line.origin.tag));
    text += ", \"name\": ";
    appendJsonString(text, utf8(line.origin.displayName));
    for (const auto& [word, list] : kCountColumns)
        text += std::string(", \"") + word + "\": " + number(line.count(list));
    const auto boolean = [](bool yes) { return yes ? "true" : "false"; };
    return text + ", \"gendered_surnames\": " + boolean(line.gendered()) +
           ", \"frequencies\": " + boolean(line.frequencies.frequencies) +
           ", \"decades\": " + boolean(line.frequencies.decades) + '}';
}

QList<OriginLine> storedLines(const QString& databasePath) {
    QList<OriginLine> lines;
    try {
        platform::Database database;
        database.open(databasePath);
        const QMap<QString, names::OriginFrequencies> frequencies =
            names::storedFrequencies(database);
        for (const names::OriginRecord& origin : names::storedOrigins(database))
            lines.append(
                {origin, names::storedCounts(database, origin.tag), frequencies.value(origin.tag)});
    } catch (const platform::Failure& failure) {
        throw platform::Failure(QStringLiteral("cannot read the origins in ") + databasePath +
                                QStringLiteral(": ") + failure.description());
    }
    if (lines.isEmpty())
        throw platform::Failure(databasePath + QStringLiteral(" holds no origins"));
    return lines;
}

OriginsRequest parseOrigins(const Arguments& arguments) {
    refuseArguments(arguments.command(), arguments.positional());
    return {arguments.word("format", QStringLiteral("text"))};
}

int runOrigins(const OriginsRequest& request, const QString& databasePath) {
    printOrigins(request, databasePath);
    return 0;
}

}  // namespace

void printOrigins(const OriginsRequest& request, const QString& databasePath) {
    const QList<OriginLine> lines = storedLines(databasePath);
    std::string text;
    if (request.format == QLatin1String("csv")) {
        text = csvHeader();
        for (const OriginLine& line : lines) text += csvLine(line);
    } else if (request.format == QLatin1String("json")) {
        text = "[\n";
        for (qsizetype i = 0; i < lines.size(); ++i)
            text += jsonObject(lines[i]) + (i + 1 < lines.size() ? ",\n" : "\n");
        text += "]\n";
    } else {
        for (const OriginLine& line : lines) text += textLine(line);
    }
    StandardOutput out;
    out.write(text);
}

Command originsCommand() {
    return {
        QStringLiteral("origins"),
        QStringLiteral("[OPTIONS]"),
        QStringLiteral("list the origins that --origin takes"),
        QStringLiteral("Prints the origins of the built-in list, one a line: its tag, its name, "
                       "how many male, female and unisex first names and last names it has, "
                       "whether its last names have a male and a female form, whether its names "
                       "carry frequencies (--weighted) and whether its first names carry births "
                       "by decade (--born)."),
        {{{QStringLiteral("format")},
          QStringLiteral("FORMAT"),
          alternatives(wordsOf(kOriginFormatWords)) + QStringLiteral(" (default text)"),
          wordsOf(kOriginFormatWords)}},
        parseThenRun(parseOrigins, runOrigins),
    };
}

}  // namespace cli

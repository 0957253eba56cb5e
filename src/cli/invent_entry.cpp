// The options of `generate --invent` and how they are read.
#include <algorithm>
#include <array>

#include "cli/command.h"
#include "cli/commands.h"
#include "cli/formats.h"
#include "cli/invent.h"

namespace cli {

namespace {

// The record formats: one JSON object a line, or one JSON array. Names
// drawn from the lists are written in the table's formats only.
constexpr std::array kRecordWords{"jsonl", "json"};

// The longest length a filter takes: names are far shorter.
constexpr std::size_t kLongestFilter = 255;

// The filters, which take effect with --invent only.
constexpr std::array kFilterOptions{"min-length", "max-length", "starts-with", "ends-with"};

bool isRecordFormat(const QString& word) {
    return !formatWords().contains(word) && std::ranges::any_of(kRecordWords, [&](const char* w) {
        return word == QLatin1String(w);
    });
}

std::size_t lengthOf(const Arguments& arguments, const char* option) {
    if (!arguments.isSet(option)) return 0;
    const QString text = arguments.value(option);
    bool ok = false;
    const uint length = text.toUInt(&ok);
    if (!ok || length < 1 || length > kLongestFilter || text.startsWith(QLatin1Char('+')))
        throw UsageError(QStringLiteral("--") + QLatin1String(option) +
                         QStringLiteral(" must be a whole number from 1 to ") +
                         QString::number(kLongestFilter) + QStringLiteral(", not ") + quoted(text));
    return length;
}

QString textOf(const Arguments& arguments, const char* option) {
    const QString text = arguments.value(option).trimmed();
    if (arguments.isSet(option) && text.isEmpty())
        throw UsageError(QStringLiteral("--") + QLatin1String(option) +
                         QStringLiteral(" needs some letters"));
    return text;
}

// What drawing from the lists does not take.
void refuseInventOnly(const Arguments& arguments) {
    for (const char* option : kFilterOptions)
        if (arguments.isSet(option))
            throw UsageError(QStringLiteral("--") + QLatin1String(option) +
                             QStringLiteral(" applies to invented names: add --invent"));
}

}  // namespace

QStringList generateFormatWords() {
    QStringList words = formatWords();
    for (const char* word : kRecordWords)
        if (!words.contains(QLatin1String(word))) words << QLatin1String(word);
    return words;
}

void appendInventOptions(std::vector<Option>& options) {
    options.push_back({{QStringLiteral("invent")},
                       QString(),
                       QStringLiteral("invent new names in the style of the list (--list) or of "
                                      "the origins (--origin); never one of their names"),
                       {}});
    const QString given = QStringLiteral(" (with --invent; of the given name for --part full)");
    options.push_back({{QStringLiteral("min-length")},
                       QStringLiteral("N"),
                       QStringLiteral("names of at least N characters") + given,
                       {}});
    options.push_back({{QStringLiteral("max-length")},
                       QStringLiteral("N"),
                       QStringLiteral("names of at most N characters") + given,
                       {}});
    options.push_back({{QStringLiteral("starts-with")},
                       QStringLiteral("TEXT"),
                       QStringLiteral("names that start with TEXT, ignoring case") + given,
                       {}});
    options.push_back({{QStringLiteral("ends-with")},
                       QStringLiteral("TEXT"),
                       QStringLiteral("names that end with TEXT, ignoring case") + given,
                       {}});
}

void readInvention(const Arguments& arguments, GenerateRequest& request) {
    InventChoice& invention = request.invention;
    invention.on = arguments.isSet("invent");
    if (!invention.on) {
        refuseInventOnly(arguments);
        checkFormat(request.format, outputOptionsOf(request));
        return;
    }
    if (request.gender == Gender::Unisex)
        throw UsageError(QStringLiteral(
            "--invent learns male and female first names; --gender unisex is not for it"));
    invention.minLength = lengthOf(arguments, "min-length");
    invention.maxLength = lengthOf(arguments, "max-length");
    if (invention.maxLength > 0 && invention.minLength > invention.maxLength)
        throw UsageError(QStringLiteral("--min-length %1 is greater than --max-length %2")
                             .arg(invention.minLength)
                             .arg(invention.maxLength));
    invention.startsWith = textOf(arguments, "starts-with");
    invention.endsWith = textOf(arguments, "ends-with");
    if (!isRecordFormat(request.format)) checkFormat(request.format, outputOptionsOf(request));
}

}  // namespace cli

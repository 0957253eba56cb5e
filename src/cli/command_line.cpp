#include "cli/command_line.h"

#include <algorithm>
#include <array>
#include <limits>

#include <QLocale>

#include "cli/command.h"

namespace cli {

namespace {

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

}  // namespace

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

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

Action parseArguments(const QStringList& arguments) {
    const QString first = arguments.value(0);
    for (const Command& command : commands()) {
        if (first != command.name) continue;
        const Arguments parsed(command, arguments.mid(1));
        return parsed.helpAsked() ? printing(helpText(command)) : command.parse(parsed);
    }
    if (first == QLatin1String("--help") || first == QLatin1String("-h") ||
        first == QLatin1String("help"))
        return printing(mainHelpText());
    if (first == QLatin1String("--version")) return printingVersion();
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

std::uint64_t parseSeed(const QString& text) {
    bool ok = false;
    const qulonglong seed = text.toULongLong(&ok);
    if (!ok || !isDigits(text))
        throw UsageError(QStringLiteral("the seed must be a whole number from 0 to ") +
                         QString::number(std::numeric_limits<std::uint64_t>::max()) +
                         QStringLiteral(", not ") + quoted(text));
    return seed;
}

}  // namespace cli

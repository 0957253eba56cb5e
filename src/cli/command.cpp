#include "cli/command.h"

#include <algorithm>
#include <stdexcept>

#include <QCommandLineParser>

#include "cli/output.h"
#include "platform/database.h"
#include "platform/failure.h"

namespace cli {

namespace {

// The help is wrapped to fit a terminal of 80 columns.
constexpr qsizetype kHelpWidth = 79;

QCommandLineOption parserOption(const Option& option) {
    return QCommandLineOption(option.names, option.description, option.valueName);
}

// "-n, --count N" or "    --part PART".
QString optionLabel(const Option& option) {
    QString label = option.names.size() > 1
                        ? QLatin1Char('-') + option.names.first() + QStringLiteral(", ")
                        : QStringLiteral("    ");
    label += QStringLiteral("--") + option.names.last();
    if (!option.valueName.isEmpty()) label += QLatin1Char(' ') + option.valueName;
    return label;
}

// `text` cut into lines of at most `width` characters, at blanks.
QStringList wrapped(const QString& text, qsizetype width) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
            lines << line;
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    if (!line.isEmpty()) lines << line;
    return lines;
}

// The column where the texts beside these labels begin.
qsizetype columnFor(const QList<std::pair<QString, QString>>& rows) {
    qsizetype widest = 0;
    for (const auto& row : rows) widest = std::max(widest, row.first.size());
    return widest + 4;  // two blanks before the label, two after
}

// Labels in a column, each with its text beside it, wrapped under itself.
QString table(const QList<std::pair<QString, QString>>& rows, qsizetype column) {
    QString text;
    for (const auto& [label, description] : rows) {
        const QStringList lines = wrapped(description, kHelpWidth - column);
        text += (QStringLiteral("  ") + label).leftJustified(column) + lines.value(0) +
                QLatin1Char('\n');
        for (const QString& line : lines.mid(1))
            text += QString(column, QLatin1Char(' ')) + line + QLatin1Char('\n');
    }
    return text;
}

QString paragraph(const QString& text) {
    return wrapped(text, kHelpWidth).join(QLatin1Char('\n')) + QLatin1Char('\n');
}

}  // namespace

const Option& helpOption() {
    static const Option help{{QStringLiteral("h"), QStringLiteral("help")},
                             QString(),
                             QStringLiteral("show this help"),
                             {}};
    return help;
}

Arguments::Arguments(const Command& command, const QStringList& arguments)
    : command_(command), parser_(std::make_unique<QCommandLineParser>()) {
    parser_->addOption(parserOption(helpOption()));
    for (const Option& option : command.options) parser_->addOption(parserOption(option));
    if (!parser_->parse(QStringList{QStringLiteral("quillfern")} + arguments)) {
        QString error = parser_->errorText();
        if (error.endsWith(QLatin1Char('.'))) error.chop(1);
        throw UsageError(command.name + QStringLiteral(": ") + error);
    }
}

Arguments::~Arguments() = default;

bool Arguments::helpAsked() const {
    return parser_->isSet(helpOption().names.last());
}

const Option& Arguments::declared(const char* option) const {
    for (const Option& candidate : command_.options)
        if (candidate.names.last() == QLatin1String(option)) return candidate;
    throw std::logic_error("the command " + command_.name.toStdString() + " declares no option --" +
                           option);
}

bool Arguments::isSet(const char* option) const {
    return parser_->isSet(declared(option).names.last());
}

QString Arguments::value(const char* option) const {
    return parser_->value(declared(option).names.last());
}

QStringList Arguments::positional() const {
    return parser_->positionalArguments();
}

QString Arguments::word(const char* option, const QString& fallback) const {
    if (!isSet(option)) return fallback;
    const QString chosen = value(option);
    const QStringList& words = declared(option).words;
    if (words.contains(chosen)) return chosen;
    throw UsageError(QStringLiteral("--") + QLatin1String(option) + QStringLiteral(" must be ") +
                     alternatives(words) + QStringLiteral(", not ") + quoted(chosen));
}

QString alternatives(const QStringList& words) {
    if (words.size() < 2) return words.value(0);
    return words.mid(0, words.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ") +
           words.last();
}

QString helpText(const Command& command) {
    QList<std::pair<QString, QString>> rows;
    for (const Option& option : command.options)
        rows.append({optionLabel(option), option.description});
    rows.append({optionLabel(helpOption()), helpOption().description});
    return QStringLiteral("Usage: quillfern ") + command.name + QLatin1Char(' ') +
           command.operands + QStringLiteral("\n\n") + paragraph(command.description) +
           QLatin1Char('\n') + table(rows, columnFor(rows));
}

QString mainHelpText() {
    QList<std::pair<QString, QString>> commandRows;
    for (const Command& command : commands()) commandRows.append({command.name, command.summary});
    const QList<std::pair<QString, QString>> optionRows{
        {QStringLiteral("-h, --help"),
         QStringLiteral("show this help; after a command, that command's help")},
        {QStringLiteral("--version"), QStringLiteral("show the version and the data edition")}};
    const qsizetype column = columnFor(commandRows + optionRows);
    return QStringLiteral(
               "Usage: quillfern [COMMAND] [OPTIONS]\n"
               "\n"
               "Random names for scripts and test data. Without a command the windows open.\n"
               "\n"
               "Commands:\n") +
           table(commandRows, column) + QStringLiteral("\nOptions:\n") + table(optionRows, column) +
           QStringLiteral("\nExit status: 0 done, 1 failure, 2 usage error.\n");
}

Action printingVersion() {
    return [](const std::function<QString()>& databasePath) {
        QString edition;
        try {
            platform::Database database;
            database.open(databasePath(), platform::Database::Access::ReadOnlyImmutable);
            edition = database.firstValue("pragma user_version");
        } catch (const platform::Failure& failure) {
            edition = QStringLiteral("unknown (") + failure.description() + QLatin1Char(')');
        }
        StandardOutput out;
        out.write((QStringLiteral("quillfern " QF_VERSION "\ndata edition ") + edition +
                   QLatin1Char('\n'))
                      .toUtf8()
                      .toStdString());
        return 0;
    };
}

Action printing(const QString& text) {
    return [text](const std::function<QString()>&) {
        StandardOutput out;
        out.write(text.toUtf8().toStdString());
        return 0;
    };
}

}  // namespace cli

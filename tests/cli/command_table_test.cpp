// The table of commands against what is written from it by hand: the bash
// completion and the manual page name every command, option and value word
// of the table, the completion offers nothing else, and the README names
// every option.
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include "cli/command.h"

namespace {

QString sourceFile(const char* path) {
    QFile file(QStringLiteral(QF_SOURCE_DIR "/") + QLatin1String(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    return QString::fromUtf8(file.readAll());
}

const QString& completion() {
    static const QString text = sourceFile("packaging/bash-completion/quillfern");
    return text;
}

const QString& manualPage() {
    static const QString text = sourceFile("packaging/quillfern.1.in");
    return text;
}

// The text from the first match of `start` to the first match of `end` after it.
QString between(const QString& text, const QString& start, const QString& end) {
    const QRegularExpressionMatch from = QRegularExpression(start).match(text);
    if (!from.hasMatch()) return {};
    const QRegularExpressionMatch to = QRegularExpression(end).match(text, from.capturedEnd());
    return text.mid(from.capturedStart(),
                    (to.hasMatch() ? to.capturedStart() : text.size()) - from.capturedStart());
}

bool containsWord(const QString& text, const QString& word) {
    return text.contains(QRegularExpression(QStringLiteral("(?<![\\w-])") +
                                            QRegularExpression::escape(word) +
                                            QStringLiteral("(?![\\w-])")));
}

// The branch of `case $command` that completes the command's arguments.
QString completionBranch(const cli::Command& command) {
    return between(completion(), QStringLiteral("\\n\\s+") + command.name + QStringLiteral("\\)"),
                   QStringLiteral(";;"));
}

// The line of `case $prev` that completes the option's value.
QString valueCompletion(const cli::Option& option) {
    const QString prevCases =
        between(completion(), QStringLiteral("case \\$prev in"), QStringLiteral("\\besac\\b"));
    for (const QString& line : prevCases.split(QLatin1Char('\n'))) {
        const QString patterns = line.section(QLatin1Char(')'), 0, 0);
        if (line.contains(QLatin1Char(')')) && containsWord(patterns, "--" + option.names.last()))
            return line;
    }
    return {};
}

// The command's paragraph in the manual's COMMANDS section: from its `.B`
// line to the next command's, or to the end of the section.
QString manualSection(const cli::Command& command) {
    const QString section =
        between(manualPage(), QStringLiteral("\\.SH COMMANDS"), QStringLiteral("\\n\\.SH "));
    QStringList others;
    for (const cli::Command& other : cli::commands())
        if (other.name != command.name) others << other.name;
    return between(
        section, QStringLiteral("\\n\\.B ") + command.name + QStringLiteral("\\b"),
        QStringLiteral("\\n\\.B (") + others.join(QLatin1Char('|')) + QStringLiteral(")\\b"));
}

QString roff(const QString& option) {
    return QString(option).replace(QStringLiteral("-"), QStringLiteral("\\-"));
}

QString dashed(const QString& name) {
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

TEST(CommandTable, EveryCommandIsCompletedAndInTheManualPage) {
    const QString firstWords =
        between(completion(), QStringLiteral("cword == 1"), QStringLiteral("return"));
    for (const cli::Command& command : cli::commands()) {
        EXPECT_TRUE(containsWord(firstWords, command.name)) << command.name.toStdString();
        EXPECT_FALSE(completionBranch(command).isEmpty()) << command.name.toStdString();
        EXPECT_TRUE(manualPage().contains(QStringLiteral(".B quillfern ") + command.name))
            << "synopsis of " << command.name.toStdString();
        EXPECT_FALSE(manualSection(command).isEmpty()) << command.name.toStdString();
    }
}

TEST(CommandTable, EveryOptionIsCompletedWithItsWordsAndDescribedInTheManualPage) {
    for (const cli::Command& command : cli::commands()) {
        const QString branch = completionBranch(command);
        const QString section = manualSection(command);
        for (const cli::Option& option : command.options) {
            const std::string what =
                command.name.toStdString() + " --" + option.names.last().toStdString();
            EXPECT_TRUE(containsWord(branch, "--" + option.names.last())) << "completion " << what;
            for (const QString& name : option.names)
                EXPECT_TRUE(containsWord(section, roff(dashed(name)))) << "manual " << what;
            if (option.valueName.isEmpty()) continue;
            // A value is completed by its own rule, never as another option.
            const QString value = valueCompletion(option);
            EXPECT_FALSE(value.isEmpty()) << "completion of the value of " << what;
            for (const QString& name : option.names)
                EXPECT_TRUE(containsWord(value.section(')', 0, 0), dashed(name))) << what;
            if (option.words.isEmpty()) continue;
            EXPECT_TRUE(value.contains("'" + option.words.join(' ') + "'")) << value.toStdString();
            EXPECT_TRUE(manualPage().contains(option.words.join('|'))) << "manual " << what;
        }
    }
}

TEST(CommandTable, CompletionOffersOnlyTheTablesOptions) {
    for (const cli::Command& command : cli::commands()) {
        QStringList declared{QStringLiteral("--help")};
        for (const cli::Option& option : command.options) declared << "--" + option.names.last();
        const QRegularExpression optionWord(QStringLiteral("(?<![\\w-])--[a-z-]+"));
        for (const auto& match : optionWord.globalMatch(completionBranch(command)))
            EXPECT_TRUE(declared.contains(match.captured()))
                << command.name.toStdString() << " offers " << match.captured().toStdString();
    }
}

TEST(CommandTable, ReadmeNamesEveryOption) {
    const QString section =
        between(sourceFile("README.md"), QStringLiteral("## From the command line"),
                QStringLiteral("\\n## "));
    ASSERT_FALSE(section.isEmpty());
    for (const cli::Command& command : cli::commands())
        for (const cli::Option& option : command.options)
            EXPECT_TRUE(containsWord(section, "--" + option.names.last()))
                << command.name.toStdString() << " --" << option.names.last().toStdString();
}

// Each option's line of the help holds its description, wrapped or not.
TEST(CommandTable, HelpShowsEveryOptionWithItsDescription) {
    const auto simplified = [](const QString& text) { return text.simplified(); };
    for (const cli::Command& command : cli::commands()) {
        const QString help = simplified(cli::helpText(command));
        for (const cli::Option& option : command.options) {
            const QString label = (option.valueName.isEmpty() ? QString() : " " + option.valueName);
            EXPECT_TRUE(help.contains("--" + option.names.last() + label + " " +
                                      simplified(option.description)))
                << help.toStdString();
        }
        EXPECT_TRUE(simplified(cli::mainHelpText()).contains(command.name + " " + command.summary));
    }
}

}  // namespace

#pragma once

#include <array>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <QString>
#include <QStringList>

#include "cli/command_line.h"

class QCommandLineParser;

namespace cli {

// One option of a command, written once: the parser, the help, and the test
// that holds the completion and the manual page to it all read it from here.
struct Option {
    QStringList names;    // without dashes: a letter for the short form first, if any
    QString valueName;    // the value in the help ("N", "FILE"); empty for a switch
    QString description;  // one line of the help, wrapped when long
    QStringList words;    // the values it takes when these are a few words
};

class Arguments;

// One command: its words in the help and its options, and what turns its
// arguments into an Action (throwing UsageError when they cannot).
struct Command {
    QString name;
    QString operands;             // what follows the name in its usage line: "first|last FILE..."
    QString summary;              // its line in `quillfern --help`
    QString description;          // the paragraph of its own help
    std::vector<Option> options;  // -h/--help comes with every command
    std::function<Action(const Arguments&)> parse;
};

// The commands, in the order the help lists them.
const std::vector<Command>& commands();

// The option every command takes.
const Option& helpOption();

// One command's arguments, read by the options of its table entry. Asking
// for an option that the entry does not declare is a programming error.
class Arguments {
public:
    // Throws UsageError for an unknown option or a missing value.
    Arguments(const Command& command, const QStringList& arguments);
    ~Arguments();
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;

    const QString& command() const { return command_.name; }
    bool helpAsked() const;
    bool isSet(const char* option) const;
    QString value(const char* option) const;
    QStringList positional() const;

    // The value of an option that takes one of its entry's words; `fallback`
    // when the option is not given.
    QString word(const char* option, const QString& fallback) const;

    // The meaning of that word in `meanings`, whose words are the entry's.
    template <class T, std::size_t N>
    T choice(const char* option, const std::array<std::pair<const char*, T>, N>& meanings,
             T fallback) const {
        if (!isSet(option)) return fallback;
        const QString chosen = word(option, QString());
        for (const auto& [word, meaning] : meanings)
            if (chosen == QLatin1String(word)) return meaning;
        return fallback;
    }

private:
    const Option& declared(const char* option) const;

    const Command& command_;
    std::unique_ptr<QCommandLineParser> parser_;
};

// The words of a table of meanings, for Option::words.
template <class T, std::size_t N>
QStringList wordsOf(const std::array<std::pair<const char*, T>, N>& meanings) {
    QStringList words;
    for (const auto& meaning : meanings) words << QLatin1String(meaning.first);
    return words;
}

// "a, b or c".
QString alternatives(const QStringList& words);

// A command's --help, built from its entry.
QString helpText(const Command& command);

// `quillfern --help`, built from the table of commands.
QString mainHelpText();

// The Action of a command: `parse` reads the arguments into a request, which
// `run` carries out.
template <class Request>
std::function<Action(const Arguments&)> parseThenRun(Request (*parse)(const Arguments&),
                                                     int (*run)(const Request&, const QString&)) {
    return [parse, run](const Arguments& arguments) -> Action {
        return [request = parse(arguments), run](const std::function<QString()>& databasePath) {
            return run(request, databasePath());
        };
    };
}

// Prints `text` on standard output.
Action printing(const QString& text);

// Prints the program's version and the edition of the built-in names in
// the name database (its user_version).
Action printingVersion();

}  // namespace cli

#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>

#include <QString>
#include <QStringList>

#include "cli/invent.h"
#include "generate/birth_decades.h"
#include "names/file_import.h"

namespace cli {

// The largest count `generate` takes: the largest signed 32-bit number.
inline constexpr std::int64_t kMaxCount = 2147483647;
inline constexpr std::int32_t kDefaultCount = 100;

enum class Part { Full, First, Last };
enum class ListSource { BuiltIn, User };
// both: female or male; any: also unisex where an origin has unisex names.
enum class Gender { Both, Male, Female, Unisex, Any };
using names::NameKind;

struct GenerateRequest {
    std::int32_t count = kDefaultCount;
    Part part = Part::Full;
    ListSource list = ListSource::BuiltIn;
    Gender gender = Gender::Both;
    QString origins;  // --origin as written; read against the stored origins
    bool mix = false;
    bool latin = false;
    // Names as often as in life where an origin has frequencies (--weighted),
    // first names of these birth decades by their births (--born).
    bool weighted = false;
    std::optional<generate::DecadeRange> born;
    std::optional<std::uint64_t> seed;
    bool unique = false;
    QString format;  // a word of the table of formats
    bool crlf = false;
    QString output;  // empty: standard output
    InventChoice invention;
};

struct NamesRequest {
    NameKind kind = NameKind::First;
    ListSource list = ListSource::BuiltIn;
    Gender gender = Gender::Both;
    QString origins;  // empty: the built-in list as the main window shows it
};

struct OriginsRequest {
    QString format;  // text, csv or json
};

struct ImportRequest {
    NameKind kind = NameKind::First;
    QStringList files;  // "-": standard input
};

// What a command line asks for, ready to be carried out; gives the exit
// status. The database path is asked for only by commands that read it.
using Action = std::function<int(const std::function<QString()>& databasePath)>;

// A command line that cannot be carried out as written (exit status 2).
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// True when the arguments after the program's name ask for the command line:
// anything but nothing at all or only the window system's own options.
bool wantsCommandLine(const QStringList& arguments);

// Reads the arguments after the program's name by the table of commands;
// throws UsageError.
Action parseArguments(const QStringList& arguments);

// A number as messages write it: 1,048,576.
QString grouped(std::uint64_t number);

// "text" with its quotes, as messages show what the user wrote.
QString quoted(const QString& text);

// The count of `generate`: digits only, from 1 to kMaxCount; throws UsageError.
std::int32_t parseCount(const QString& text);

// The seed of `generate`: digits only, any unsigned 64-bit number; throws UsageError.
std::uint64_t parseSeed(const QString& text);

}  // namespace cli

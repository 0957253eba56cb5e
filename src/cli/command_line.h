#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <variant>

#include <QString>
#include <QStringList>

namespace cli {

// The largest count `generate` takes: the largest signed 32-bit number.
inline constexpr std::int64_t kMaxCount = 2147483647;
inline constexpr std::int32_t kDefaultCount = 100;

enum class Part { Full, First, Last };
enum class ListSource { BuiltIn, User };
enum class Gender { Both, Male, Female };
enum class Format { Text, Csv, Xlsx };
enum class NameKind { First, Last };

struct GenerateRequest {
    std::int32_t count = kDefaultCount;
    Part part = Part::Full;
    ListSource list = ListSource::BuiltIn;
    Gender gender = Gender::Both;
    std::optional<std::uint64_t> seed;
    bool unique = false;
    Format format = Format::Text;
    bool crlf = false;
    QString output;  // empty: standard output
};

struct NamesRequest {
    NameKind kind = NameKind::First;
    ListSource list = ListSource::BuiltIn;
    Gender gender = Gender::Both;
};

struct ImportRequest {
    NameKind kind = NameKind::First;
    QStringList files;
};

// Text to print on standard output, and nothing else to do: help, version.
struct PrintRequest {
    QString text;
};

using Request = std::variant<PrintRequest, GenerateRequest, NamesRequest, ImportRequest>;

// A command line that cannot be carried out as written (exit status 2).
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// True when the arguments after the program's name ask for the command line:
// anything but nothing at all or only the window system's own options.
bool wantsCommandLine(const QStringList& arguments);

// Reads the arguments after the program's name; throws UsageError.
Request parseArguments(const QStringList& arguments);

// A number as messages write it: 1,048,576.
QString grouped(std::uint64_t number);

// The count of `generate`: digits only, from 1 to kMaxCount; throws UsageError.
std::int32_t parseCount(const QString& text);

}  // namespace cli

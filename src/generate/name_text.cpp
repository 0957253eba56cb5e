#include "generate/name_text.h"

namespace generate {

QString RemoveBlanks(const QString& text) {
    if (!text.contains(QLatin1Char(' '))) return text;
    QString result = text;
    result.remove(QLatin1Char(' '));
    return result;
}

TwoWords splitTwoWords(std::string_view row) {
    const std::size_t blank = row.find(' ');
    if (blank == std::string_view::npos) return {row, {}, false};
    const std::string_view rest = row.substr(blank + 1);
    return {row.substr(0, blank), rest.substr(0, rest.find(' ')), true};
}

}  // namespace generate

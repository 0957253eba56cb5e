#include "output_checks.h"

#include <algorithm>
#include <sstream>

namespace e2e {

namespace {

bool hasControlBreak(const std::string& text) {
    return text.find_first_of("\t\r\n") != std::string::npos;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

CrLfLines splitCrLfLines(const std::string& text) {
    CrLfLines result;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        const std::string where = "line " + std::to_string(result.lines.size() + 1);
        if (end == std::string::npos) {
            result.lines.push_back(text.substr(start));
            result.problem = where + " has no line end";
            return result;
        }
        result.lines.push_back(text.substr(start, end - start));
        if (text[end] == '\n') {
            result.problem = where + " ends in LF without CR";
            return result;
        }
        if (end + 1 >= text.size() || text[end + 1] != '\n') {
            result.problem = where + " ends in CR without LF";
            return result;
        }
        start = end + 2;
    }
    return result;
}

bool isFirstAndLastName(const std::string& line) {
    const auto blank = line.find(' ');
    return blank != std::string::npos && blank > 0 && blank + 1 < line.size() &&
           line.find(' ', blank + 1) == std::string::npos && !hasControlBreak(line);
}

bool isSingleName(const std::string& line) {
    return !line.empty() && line.find(' ') == std::string::npos && !hasControlBreak(line);
}

std::optional<std::string> iniValue(const std::string& text, const std::string& section,
                                    const std::string& key) {
    std::istringstream lines(text);
    std::string line;
    bool inSection = false;
    while (std::getline(lines, line)) {
        line = trimmed(line);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            inSection = line.substr(1, line.size() - 2) == section;
            continue;
        }
        if (!inSection) continue;
        const auto equals = line.find('=');
        if (equals == std::string::npos || trimmed(line.substr(0, equals)) != key) continue;
        std::string value = trimmed(line.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        return value;
    }
    return std::nullopt;
}

}  // namespace e2e

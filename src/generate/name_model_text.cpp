#include "generate/name_model_text.h"

#include <algorithm>
#include <stdexcept>

#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

namespace generate {

namespace {

bool isPlainAscii(std::string_view text) {
    // CR LF is one cluster, so text with a CR goes through ICU.
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80 && c != '\r'; });
}

std::string toUtf8(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

icu::UnicodeString fromUtf8(std::string_view utf8) {
    return icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<std::int32_t>(utf8.size())));
}

}  // namespace

struct GraphemeSplitter::Characters {
    std::unique_ptr<icu::BreakIterator> iterator;
};

GraphemeSplitter::GraphemeSplitter() : characters_(std::make_unique<Characters>()) {
    UErrorCode status = U_ZERO_ERROR;
    characters_->iterator.reset(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status) || !characters_->iterator)
        throw std::runtime_error(std::string("cannot split text into characters: ") +
                                 u_errorName(status));
}

GraphemeSplitter::~GraphemeSplitter() = default;

std::vector<std::string> GraphemeSplitter::split(std::string_view utf8) {
    std::vector<std::string> clusters;
    if (isPlainAscii(utf8)) {
        for (const char c : utf8) clusters.emplace_back(1, c);
        return clusters;
    }
    const icu::UnicodeString text = fromUtf8(utf8);
    icu::BreakIterator& characters = *characters_->iterator;
    characters.setText(text);
    std::int32_t start = characters.first();
    for (std::int32_t end = characters.next(); end != icu::BreakIterator::DONE;
         start = end, end = characters.next()) {
        clusters.push_back(toUtf8(text.tempSubStringBetween(start, end)));
    }
    return clusters;
}

std::string foldCase(std::string_view utf8) {
    if (isPlainAscii(utf8)) {
        std::string folded(utf8);
        for (char& c : folded)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return folded;
    }
    icu::UnicodeString text = fromUtf8(utf8);
    text.foldCase(U_FOLD_CASE_DEFAULT);
    return toUtf8(text);
}

std::string_view trimmedName(std::string_view utf8) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(utf8.data());
    const auto length = static_cast<std::int32_t>(utf8.size());
    std::int32_t begin = 0;
    while (begin < length) {
        std::int32_t next = begin;
        UChar32 c = 0;
        U8_NEXT(bytes, next, length, c);
        if (!u_isUWhiteSpace(c)) break;
        begin = next;
    }
    std::int32_t end = length;
    while (end > begin) {
        std::int32_t previous = end;
        UChar32 c = 0;
        U8_PREV(bytes, begin, previous, c);
        if (!u_isUWhiteSpace(c)) break;
        end = previous;
    }
    return utf8.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin));
}

}  // namespace generate

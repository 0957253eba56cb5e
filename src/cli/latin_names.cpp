#include "cli/latin_names.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>

#include <array>
#include <memory>

#include "cli/command_line.h"
#include "platform/failure.h"

namespace cli {

namespace {

// The scripts ICU romanises faithfully, as ISO 15924 codes. Han is read
// faithfully only as Chinese (in pinyin): its reading in Japanese depends on
// the word, which ICU does not know.
constexpr std::array kLatinReadable{"Latn", "Cyrl", "Grek", "Armn", "Geor", "Hang", "Thai"};

bool isLatinReadable(const QString& script, const QString& tag) {
    if (script == QLatin1String("Hani"))
        return tag == QLatin1String("zh") || tag.startsWith(QLatin1String("zh-"));
    for (const char* readable : kLatinReadable)
        if (script == QLatin1String(readable)) return true;
    return false;
}

// Any script into Latin letters; the marks that some transliterations use
// for signs without a sound of their own (the soft sign's prime) and
// apostrophes are dropped, as the program drops apostrophes from names, and
// accents are composed with their letters.
std::unique_ptr<icu::Transliterator> openLatinTransliterator() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> transliterator(icu::Transliterator::createInstance(
        icu::UnicodeString::fromUTF8("Any-Latin; [[:Lm:][:Sk:][\\u0027\\u2019]] Remove; NFC"),
        UTRANS_FORWARD, status));
    if (U_FAILURE(status) || !transliterator)
        throw platform::Failure(QStringLiteral("cannot write names in Latin letters: ") +
                                QLatin1String(u_errorName(status)));
    return transliterator;
}

QString inLatin(const icu::Transliterator& transliterator, const QString& name) {
    icu::UnicodeString text(reinterpret_cast<const UChar*>(name.utf16()),
                            static_cast<int32_t>(name.size()));
    transliterator.transliterate(text);
    QString latin(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
    // Pinyin comes a syllable a word: a given name is one word.
    latin.remove(QLatin1Char(' '));
    return latin;
}

// "Han, Hiragana, Katakana" for "Hani,Hira,Kana".
QString scriptNames(const QStringList& codes) {
    QStringList names;
    for (const QString& code : codes) {
        UScriptCode script[1];
        UErrorCode status = U_ZERO_ERROR;
        const int found = uscript_getCode(code.toLatin1().constData(), script, 1, &status);
        names << (U_SUCCESS(status) && found == 1 ? QString::fromLatin1(uscript_getName(script[0]))
                                                  : code);
    }
    return names.join(QStringLiteral(", "));
}

}  // namespace

void requireLatinReadable(const names::OriginRecord& origin) {
    const QStringList scripts = origin.scripts.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& script : scripts)
        if (!isLatinReadable(script.trimmed(), origin.tag))
            throw UsageError(QStringLiteral("--latin: the names of %1 (%2) are written in %3, "
                                            "which cannot be read into Latin letters faithfully")
                                 .arg(origin.displayName, origin.tag, scriptNames(scripts)));
}

void writeInLatin(names::OriginEntry& origin) {
    requireLatinReadable(origin.origin);
    if (origin.origin.scripts == QLatin1String("Latn")) return;
    const std::unique_ptr<icu::Transliterator> transliterator = openLatinTransliterator();
    for (auto* lists : {&origin.lists, &origin.weightedLists})
        for (QList<names::ListedName>& list : *lists)
            for (names::ListedName& listed : list)
                listed.name = inLatin(*transliterator, listed.name);
    origin.origin.blankBetween = true;
}

}  // namespace cli

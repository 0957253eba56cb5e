#pragma once

#include "names/origin_data.h"

// Names in Latin letters, by ICU's transliterators, for the scripts these
// read faithfully.
namespace cli {

// Throws UsageError, naming the origin and its scripts, when its names are
// written in a script that ICU cannot read into Latin letters faithfully (the
// reading of Japanese kanji, the vowels of Arabic and Hebrew).
void requireLatinReadable(const names::OriginRecord& origin);

// Writes every name of the origin in Latin letters, once, before the pools
// are built. Names of two syllables that ICU writes apart (Chinese pinyin)
// come together, as they are written; given and family name then stand apart.
void writeInLatin(names::OriginEntry& origin);

}  // namespace cli

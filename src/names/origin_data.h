#pragma once

#include <array>
#include <cstddef>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The built-in names of the world's origins as the project keeps them under
// data/origins: origins.tsv lists the origins, and a folder per origin holds
// its lists, one name per line, optionally followed by a tab and the weight
// its source gives. Needs only Qt Core: the build tool reads it too.
namespace names {

// The lists an origin may have. An origin has either one list of last names or
// both gendered forms.
enum class OriginList { Male, Female, Unisex, Last, LastMale, LastFemale };
inline constexpr std::size_t kOriginListCount = 6;
inline constexpr std::array<OriginList, kOriginListCount> kOriginLists{
    OriginList::Male, OriginList::Female,   OriginList::Unisex,
    OriginList::Last, OriginList::LastMale, OriginList::LastFemale};

// The word for a list, as the store and the data folder's file names use it
// (male, female, unisex, last, last_male, last_female).
const char* listWord(OriginList list);

struct ListedName {
    QString name;
    // As the source gives it, relative within its list; 0 where it gives none
    // or rounds to none, and such a name is left out of weighted draws.
    double weight = 0;
    friend bool operator==(const ListedName&, const ListedName&) = default;
};

struct OriginRecord {
    QString tag;          // BCP 47: de, en-US, sr-Latn
    QString displayName;  // in English
    QString scripts;      // ISO 15924 codes, comma-separated
    bool familyFirst = false;
    bool blankBetween = true;  // false where the two names are written together (zh, ko)
    QString sources;           // keys explained in data/SOURCES.md
    friend bool operator==(const OriginRecord&, const OriginRecord&) = default;
};

struct OriginEntry {
    OriginRecord origin;
    std::array<QList<ListedName>, kOriginListCount> lists{};
    // The full weighted distribution of a list that holds only its most common
    // names (<list>_weighted.txt), by falling weight (ties in the file's
    // order); empty where the list is the whole of it.
    std::array<QList<ListedName>, kOriginListCount> weightedLists{};
    // births_by_decade.tsv.gz as it is (names/birth_table.h); empty without one.
    QByteArray birthsByDecade{};

    QList<ListedName>& operator[](OriginList list) { return lists[static_cast<std::size_t>(list)]; }
    const QList<ListedName>& operator[](OriginList list) const {
        return lists[static_cast<std::size_t>(list)];
    }
    bool hasGenderedSurnames() const { return !(*this)[OriginList::LastFemale].isEmpty(); }
    // The list a weighted draw takes: the full distribution where there is one.
    const QList<ListedName>& weightedList(OriginList list) const {
        const QList<ListedName>& full = weightedLists[static_cast<std::size_t>(list)];
        return full.isEmpty() ? (*this)[list] : full;
    }
};

// The file names of an origin's folder beside its lists.
inline constexpr char kWeightedListSuffix[] = "_weighted.txt";
inline constexpr char kBirthsFileName[] = "births_by_decade.tsv.gz";

// The name order and separator words of origins.tsv.
inline constexpr char kGivenFirst[] = "given-first";
inline constexpr char kFamilyFirst[] = "family-first";
inline constexpr char kSpaceBetween[] = "space";
inline constexpr char kNothingBetween[] = "none";

// Reads data/origins, each origin's lists with their full distributions and
// births where it has them. Throws platform::Failure naming the file and line of
// anything it cannot read: a missing column, an unknown name order or
// separator, a name
// with an apostrophe, blanks at its ends or more than 50 characters, a weight
// that is not a number of at least 0, an origin without first or last names.
QList<OriginEntry> readOriginFolder(const QString& folder);

// The lists of an origin that the main window's three built-in tables show:
// male first names (with the unisex ones), female first names (with the
// unisex ones), and every last name.
QStringList maleTableNames(const OriginEntry& origin);
QStringList femaleTableNames(const OriginEntry& origin);
QStringList lastTableNames(const OriginEntry& origin);

// The names of a list, without their weights.
QStringList namesOf(const QList<ListedName>& list);

}  // namespace names

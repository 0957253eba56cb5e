#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <QByteArray>
#include <QList>

#include "names/origin_data.h"

// An origin's lists as the draw takes them: each list's names one after the
// other as UTF-8 in one block, with their weights, never one string per name.
// names.mdb keeps each list so (table origin_pack) beside its rows in
// origin_name, for loading a list in one read. Needs only Qt Core: the build
// tool writes the packs.
namespace names {

// Room a list's text leaves after its names when read from the store, for
// a pool that takes the text over to pad it without moving it.
inline constexpr std::size_t kTextSpare = 16;

struct PackedNames {
    std::string text;                       // the names, without separators
    std::vector<std::uint32_t> offsets{0};  // name i is text[offsets[i], offsets[i + 1])
    std::vector<double> weights;            // one per name; 0 where the source gives none

    std::uint32_t size() const { return static_cast<std::uint32_t>(offsets.size() - 1); }
    bool empty() const { return size() == 0; }
    std::string_view at(std::uint32_t i) const {
        return std::string_view(text).substr(offsets[i], offsets[i + 1] - offsets[i]);
    }
    void append(std::string_view name, double weight);
    friend bool operator==(const PackedNames&, const PackedNames&) = default;
};

// As the store keeps a list: the names separated by line feeds, and the
// weights as 8-byte IEEE 754 numbers in little-endian order, one per name.
struct PackedBytes {
    QByteArray names;
    QByteArray weights;
};
PackedBytes packedBytes(const QList<ListedName>& list);
PackedBytes packedBytes(const PackedNames& list);
// The list back from those bytes; platform::Failure when they do not match.
PackedNames unpacked(std::string_view names, std::string_view weights);

PackedNames packed(const QList<ListedName>& list);

// First names by their births, split by the one unisex rule
// (names/birth_table.h): each weight is a number of births.
struct BirthLists {
    PackedNames female;
    PackedNames male;
    PackedNames unisex;

    bool empty() const { return female.empty() && male.empty() && unisex.empty(); }
    friend bool operator==(const BirthLists&, const BirthLists&) = default;
};

// OriginEntry's content, packed.
struct PackedOrigin {
    OriginRecord origin;
    std::array<PackedNames, kOriginListCount> lists{};
    std::array<PackedNames, kOriginListCount> weightedLists{};
    QByteArray birthsByDecade{};
    // The first names by their births over all years, as the store keeps them
    // ready beside birthsByDecade; empty where it does not.
    BirthLists allYearsBirths{};

    const PackedNames& operator[](OriginList list) const {
        return lists[static_cast<std::size_t>(list)];
    }
    PackedNames& operator[](OriginList list) { return lists[static_cast<std::size_t>(list)]; }
    // The list a weighted draw takes: the full distribution where there is one.
    const PackedNames& weightedList(OriginList list) const {
        const PackedNames& full = weightedLists[static_cast<std::size_t>(list)];
        return full.empty() ? (*this)[list] : full;
    }
    PackedNames& weightedList(OriginList list) {
        PackedNames& full = weightedLists[static_cast<std::size_t>(list)];
        return full.empty() ? (*this)[list] : full;
    }
};
PackedOrigin packed(const OriginEntry& entry);

}  // namespace names

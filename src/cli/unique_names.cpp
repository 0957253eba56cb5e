#include "cli/unique_names.h"

#include <algorithm>
#include <bit>

#include <QHash>

#include "generate/generation.h"

namespace cli {

namespace {

// A bit per possible number is the better choice up to this size in bytes, or
// while it is no larger than the table for the expected numbers.
constexpr std::uint64_t kBitsUpTo = 16 * 1024 * 1024;

std::uint64_t mix(std::uint64_t x) {
    // splitmix64's finaliser: neighbouring numbers land far apart.
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

}  // namespace

DistinctForms distinct(const QStringList& list) {
    DistinctForms forms;
    forms.numberOf.reserve(static_cast<std::size_t>(list.size()));
    QHash<QByteArray, std::uint32_t> numbers;
    numbers.reserve(list.size());
    for (const QString& entry : list) {
        const QByteArray shown = generate::shownName(entry);
        auto at = numbers.constFind(shown);
        if (at == numbers.cend()) at = numbers.insert(shown, forms.count++);
        forms.numberOf.push_back(*at);
    }
    return forms;
}

SeenNumbers::SeenNumbers(std::uint64_t range, std::uint64_t expected) {
    const std::uint64_t bitBytes = range / 8 + 8;
    const std::uint64_t tableSlots = std::bit_ceil(std::max<std::uint64_t>(2 * expected, 16));
    if (bitBytes <= kBitsUpTo || bitBytes <= tableSlots * sizeof(std::uint64_t)) {
        bits_.assign(range / 64 + 1, 0);
    } else {
        table_.assign(tableSlots, 0);
        mask_ = tableSlots - 1;
    }
}

std::uint64_t SeenNumbers::slotOf(std::uint64_t number) const {
    return mix(number) & mask_;
}

bool SeenNumbers::firstTimeInTable(std::uint64_t number) {
    // Open addressing, probing slot after slot; at most half the slots fill.
    for (std::uint64_t slot = slotOf(number);; slot = (slot + 1) & mask_) {
        if (table_[slot] == number + 1) return false;
        if (table_[slot] == 0) {
            table_[slot] = number + 1;
            return true;
        }
    }
}

}  // namespace cli

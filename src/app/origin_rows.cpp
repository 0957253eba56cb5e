#include "app/origin_rows.h"

#include <algorithm>
#include <numeric>

#include "names/birth_store.h"
#include "names/origin_store.h"

namespace app {

QList<OriginRow> readOriginRows(platform::Database& database) {
    const QMap<QString, names::OriginFrequencies> frequencies = names::storedFrequencies(database);
    QList<OriginRow> rows;
    for (const names::OriginRecord& origin : names::storedOrigins(database)) {
        const auto counts = names::storedCounts(database, origin.tag);
        const names::OriginFrequencies carried = frequencies.value(origin.tag);
        rows.append({origin.tag, origin.displayName,
                     std::accumulate(counts.begin(), counts.end(), 0), carried.frequencies,
                     carried.decades});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const OriginRow& a, const OriginRow& b) {
        return a.displayName.compare(b.displayName, Qt::CaseInsensitive) < 0;
    });
    return rows;
}

bool matchesFilter(const OriginRow& row, const QString& filter) {
    const QString typed = filter.trimmed();
    return row.displayName.contains(typed, Qt::CaseInsensitive) ||
           row.tag.contains(typed, Qt::CaseInsensitive);
}

QString originCaption(const QStringList& chosen, const QList<OriginRow>& known) {
    if (chosen.size() > 1 && chosen.size() == known.size()) return QStringLiteral("All origins");
    if (chosen.size() > 1) return QStringLiteral("%1 origins").arg(chosen.size());
    if (chosen.isEmpty()) return QString();
    for (const OriginRow& row : known)
        if (row.tag == chosen.front()) return row.displayName;
    return chosen.front();
}

generate::OriginMix mixOf(const QStringList& tags, const QList<double>& shares) {
    generate::OriginMix mix;
    for (const QString& tag : tags) mix.tags.push_back(tag.toStdString());
    const bool equal =
        std::adjacent_find(shares.begin(), shares.end(), std::not_equal_to<>()) == shares.end();
    if (!equal) mix.shares.assign(shares.begin(), shares.end());
    return mix;
}

}  // namespace app

// What --weighted could not weigh: the origins, or the parts of their names,
// drawn at equal odds for want of frequencies, said on standard error so that
// no run claims a weighting that did not happen.
#include <array>

#include "cli/origin_draw.h"

namespace cli {

namespace {

// The origins missing frequencies for one kind of name, and the words for it.
struct UniformGroup {
    const char* what;
    QStringList tags;
};

}  // namespace

QString uniformNote(const std::vector<generate::FrequencyPools>& pools, bool weighted, Part part) {
    if (!weighted) return {};
    std::array<UniformGroup, 3> groups{UniformGroup{"the names of ", {}},
                                       UniformGroup{"the first names of ", {}},
                                       UniformGroup{"the last names of ", {}}};
    for (const generate::FrequencyPools& origin : pools) {
        const bool firstUniform = part != Part::Last && !origin.weightedFirst;
        const bool lastUniform = part != Part::First && !origin.weightedLast;
        const QString tag = QString::fromStdString(origin.names.tag);
        if (firstUniform && lastUniform)
            groups[0].tags << tag;
        else if (firstUniform)
            groups[1].tags << tag;
        else if (lastUniform)
            groups[2].tags << tag;
    }
    QStringList parts;
    for (const UniformGroup& group : groups)
        if (!group.tags.isEmpty())
            parts << QLatin1String(group.what) + group.tags.join(QStringLiteral(", "));
    if (parts.isEmpty()) return {};
    return QStringLiteral("--weighted: no frequencies, so drawn at equal odds: ") +
           parts.join(QStringLiteral("; ")) +
           QStringLiteral(" (quillfern origins says which origins have them)");
}

}  // namespace cli

#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "generate/fast_random.h"
#include "generate/person_draw.h"

namespace app {

// What the main window invents from: lists to learn, and the origins whose
// persons take their parts from them, as the current lists would draw them.
struct InventionPlan {
    struct List {
        QStringList names;
        QString described;  // how a report names the list: "the first names of German (de)"
    };
    // One kind of person of an origin: a given-name list and a family-name
    // list (indexes into `lists`; -1: the part is not invented).
    struct Voice {
        int first = -1;
        int last = -1;
        generate::Sex sex = generate::Sex::Female;
    };
    struct Origin {
        generate::NameOrder order = generate::NameOrder::GivenFirst;
        bool blankBetween = true;
        double share = 1;
        std::vector<Voice> voices;  // one drawn per person, at equal odds
    };

    std::vector<List> lists;
    std::vector<Origin> origins;

    // The index of a list with these names, added when it is new.
    int listOf(const QStringList& names, const QString& described);
};

// Invented persons: each list learned by a name model, each person of an
// origin by the shares and a voice at equal odds, each part a new name (never
// one of its list's names, ignoring case).
class InventedDraw {
public:
    // Learns every list; platform::Failure naming the list for one with too
    // few names to learn from.
    InventedDraw(InventionPlan plan, std::uint64_t seed);
    ~InventedDraw();
    InventedDraw(InventedDraw&&) noexcept;
    InventedDraw& operator=(InventedDraw&&) noexcept;

    // The parts are valid until the next call. platform::Failure naming the
    // list when no new name can be found.
    generate::Person next(generate::FastRandom& random);

private:
    struct Part;
    InventionPlan plan_;
    std::vector<std::unique_ptr<Part>> parts_;
    std::vector<double> cumulative_;  // the origins' shares, summed up to 1
};

}  // namespace app

// The main window's origins: the Origin key read once per run, its default
// stored, and the draw of whole persons from the current origins.
#include <optional>
#include <utility>
#include <vector>

#include <QLocale>
#include <QRadioButton>

#include "app/form1.h"
#include "generate/origin_pools.h"
#include "generate/person_draw.h"
#include "names/name_list_model.h"
#include "names/origin_store.h"
#include "platform/database.h"
#include "platform/failure.h"
#include "platform/settings.h"

namespace app {

namespace keys = platform::keys;

const OriginChoice& Form1::currentOrigins() {
    if (origins_) return *origins_;
    platform::Database database;
    database.open(databasePath());
    QStringList known;
    for (const names::OriginRecord& origin : names::storedOrigins(database))
        known.append(origin.tag);
    bool absent = false;
    const QString text = env_.settings.readText(keys::Origin, [&absent] {
        absent = true;
        return QString();
    });
    OriginChoice choice = chooseOrigins(absent ? std::nullopt : std::optional<QString>(text), known,
                                        QLocale().name());
    const QStringList tags = choice.tags();
    choice.drawsPersons =
        tags.size() > 1 || (tags.size() == 1 && names::hasGenderedSurnames(database, tags[0]));
    database.close();
    origins_ = std::move(choice);
    return *origins_;
}

void Form1::storeDefaultOrigin() {
    if (!origins_ || !origins_->storeDefault) return;
    env_.settings.writeText(keys::Origin,
                            QString::fromStdString(generate::formatOriginMix(origins_->chosen)));
}

void Form1::reportUnreadableOrigin() {
    if (origins_ && !origins_->unreadable.isEmpty()) throw platform::Failure(origins_->unreadable);
}

bool Form1::drawsPersons() const {
    return Option9->isChecked() && !Option8->isChecked() && origins_ && origins_->drawsPersons;
}

namespace {

generate::GenderFilter genderFilterOf(const Form1& form) {
    if (form.Option2->isChecked()) return generate::GenderFilter::Male;
    if (form.Option3->isChecked()) return generate::GenderFilter::Female;
    return generate::GenderFilter::Both;
}

}  // namespace

generate::PersonDraw Form1::personDraw() {
    // An empty view would mean every name to the pools' filter.
    if (firstNames_->count() == 0 || lastNames_->count() == 0)
        throw platform::Failure(QStringLiteral("There are no names to draw from"));
    const generate::PoolChoice shown{false, firstNames_->storedNames(), lastNames_->storedNames(),
                                     true};
    platform::Database database;
    database.open(databasePath());
    QList<names::OriginEntry> entries;
    for (const QString& tag : origins_->tags())
        entries.append(names::originForDrawing(database, tag));
    database.close();
    return generate::PersonDraw(
        generate::originNames(entries, shown),
        generate::DrawChoice{origins_->chosen.shares, genderFilterOf(*this)});
}

}  // namespace app

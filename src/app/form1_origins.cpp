// The main window's origins: the Origin key read once per run and its default
// stored.
#include <optional>
#include <utility>
#include <vector>

#include <QLocale>
#include <QRadioButton>

#include "app/form1.h"
#include "generate/person_draw.h"
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
    QStringList joinedOtherwise;  // written family name first, or without a blank
    for (const names::OriginRecord& origin : names::storedOrigins(database)) {
        known.append(origin.tag);
        if (origin.familyFirst || !origin.blankBetween) joinedOtherwise.append(origin.tag);
    }
    bool absent = false;
    const QString text = env_.settings.readText(keys::Origin, [&absent] {
        absent = true;
        return QString();
    });
    OriginChoice choice = chooseOrigins(absent ? std::nullopt : std::optional<QString>(text), known,
                                        QLocale().name());
    const QStringList tags = choice.tags();
    // The list views' plain pairing writes "first last": an origin whose rows
    // read otherwise is drawn as persons, in its own order.
    choice.drawsPersons =
        tags.size() > 1 || (tags.size() == 1 && (joinedOtherwise.contains(tags[0]) ||
                                                 names::hasGenderedSurnames(database, tags[0])));
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

}  // namespace app

#include "app/origin_choice.h"

#include <algorithm>
#include <string>
#include <vector>

#include "generate/choice_error.h"

namespace app {

QStringList OriginChoice::tags() const {
    QStringList tags;
    for (const std::string& tag : chosen.tags) tags.append(QString::fromStdString(tag));
    return tags;
}

OriginChoice chooseOrigins(const std::optional<QString>& stored, const QStringList& known,
                           const QString& localeName) {
    OriginChoice choice;
    if (known.isEmpty()) return choice;
    std::vector<std::string> tags;
    for (const QString& tag : known) tags.push_back(tag.toStdString());
    std::string fallback = generate::defaultOriginFor(localeName.toStdString(), tags);
    if (std::find(tags.begin(), tags.end(), fallback) == tags.end()) fallback = tags.front();
    const generate::OriginMix byDefault{{fallback}, {}};
    if (!stored) {
        choice.chosen = byDefault;
        choice.storeDefault = true;
        return choice;
    }
    try {
        choice.chosen = generate::parseOriginMix(stored->toStdString(), tags);
    } catch (const generate::ChoiceError& error) {
        choice.chosen = byDefault;
        choice.unreadable = QStringLiteral(
                                "The stored origins \"%1\" cannot be read: %2. %3 is "
                                "shown instead.")
                                .arg(*stored, QString::fromStdString(error.what()),
                                     QString::fromStdString(fallback));
    }
    return choice;
}

}  // namespace app

#include "app/draw_keys.h"

#include "generate/choice_error.h"
#include "platform/failure.h"
#include "platform/settings.h"

namespace app {

namespace {

namespace keys = platform::keys;

QString storedText(const platform::Settings& settings, const char* name) {
    return settings.readText(platform::TextKey{name, nullptr});
}

// The option's value, or its default with the reason in `unreadable`.
bool readDrawOption(const platform::Settings& settings, const platform::OptionKey& key,
                    QString& unreadable) {
    try {
        return settings.readOption(key);
    } catch (const platform::Failure&) {
        unreadable = QStringLiteral(
                         "The stored setting %1 \"%2\" cannot be read: it is neither True nor "
                         "False. %3 is used instead.")
                         .arg(QLatin1String(key.name), storedText(settings, key.name),
                              platform::booleanText(key.defaultValue));
        return key.defaultValue;
    }
}

std::optional<generate::DecadeRange> readBorn(const platform::Settings& settings,
                                              std::optional<OriginOffer> offer,
                                              QString& unreadable) {
    const QString text = settings.readText(keys::Born).trimmed();
    if (text.isEmpty()) return std::nullopt;
    const auto refuse = [&](const QString& why) {
        unreadable = QStringLiteral(
                         "The stored birth years \"%1\" cannot be read: %2. Names of all years "
                         "are drawn instead.")
                         .arg(settings.readText(keys::Born), why);
        return std::nullopt;
    };
    generate::DecadeRange range;
    try {
        range = generate::parseBirthDecades(text.toStdString());
    } catch (const generate::ChoiceError& error) {
        return refuse(QString::fromUtf8(error.what()));
    }
    if (offer && !offer->decades)
        return refuse(QStringLiteral("the current origins have no names by birth decade"));
    return range;
}

}  // namespace

DrawKeys readDrawKeys(const platform::Settings& settings, std::optional<OriginOffer> offer) {
    DrawKeys drawKeys;
    drawKeys.weighted = readDrawOption(settings, keys::Weighted, drawKeys.unreadableWeighted);
    drawKeys.born = readBorn(settings, offer, drawKeys.unreadableBorn);
    drawKeys.invent = readDrawOption(settings, keys::Invent, drawKeys.unreadableInvent);
    return drawKeys;
}

}  // namespace app

#include "platform/settings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

#include "platform/failure.h"

namespace platform {

namespace {
const QString kSection = QStringLiteral("Quillfern");
const QString kApplication = QStringLiteral("Veltrane");

QString keyPath(const char* name) {
    return kSection + QLatin1Char('/') + QLatin1String(name);
}
}  // namespace

std::optional<bool> readBoolean(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
    if (trimmed.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
    bool numeric = false;
    const double number = QLocale::c().toDouble(trimmed, &numeric);
    if (numeric) return number != 0.0;
    return std::nullopt;
}

QString booleanText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

Settings::Settings(const QString& folder)
    : store_(std::make_unique<QSettings>(QDir(folder).filePath(kApplication + ".ini"),
                                         QSettings::IniFormat)) {}

Settings::~Settings() = default;

QString Settings::userFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(kApplication);
}

QString Settings::filePath() const {
    return store_->fileName();
}

std::optional<QString> Settings::stored(const char* name) const {
    const QVariant value = store_->value(keyPath(name));
    if (!value.isValid()) return std::nullopt;
    // A list (text with an unquoted comma) is read back as it was written.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(", ");
    return value.toString();
}

bool Settings::readOption(const OptionKey& key) const {
    const std::optional<QString> text = stored(key.name);
    if (!text) return key.defaultValue;
    const std::optional<bool> value = readBoolean(*text);
    if (!value) throw Failure(QStringLiteral("Type mismatch"));
    return *value;
}

void Settings::writeOption(const OptionKey& key, bool value) {
    write(key.name, booleanText(value));
}

QString Settings::readText(const TextKey& key, const QString& fallback) const {
    const std::optional<QString> text = stored(key.name);
    if (text) return *text;
    return key.defaultValue ? QString::fromUtf8(key.defaultValue) : fallback;
}

void Settings::writeText(const TextKey& key, const QString& value) {
    write(key.name, value);
}

void Settings::write(const char* name, const QString& text) {
    store_->setValue(keyPath(name), text);
    store_->sync();
    // The store's status, once set, stays. A file that was no INI text when
    // read (a format error) has just been written whole all the same. A file
    // that cannot be written fails the first write that meets it; the later
    // ones keep their values for this run only, so the program goes on
    // working without a failure at every change.
    if (store_->status() == QSettings::AccessError && !writeFailed_) {
        writeFailed_ = true;
        throw Failure(QStringLiteral("Cannot write the settings file ") + store_->fileName());
    }
}

}  // namespace platform

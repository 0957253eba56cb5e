#include "platform/settings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include "platform/failure.h"
#include "platform/files.h"
#include "platform/shell.h"

namespace platform {

namespace {
const QString kSection = QStringLiteral("Quillfern");
const QString kApplication = QStringLiteral("Veltrane");

QString keyPath(const char* name) {
    return kSection + QLatin1Char('/') + QLatin1String(name);
}

// The value without a comment that follows an unquoted ";", as the store
// reads it.
QString withoutComment(const QString& value) {
    bool quoted = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (quoted && value[i] == QLatin1Char('\\'))
            ++i;
        else if (value[i] == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && value[i] == QLatin1Char(';'))
            return value.left(i);
    }
    return value;
}

// The text after "<name>=" in the section, as it stands in the file, without
// the blanks around it. The last such line counts, as it does for the store.
std::optional<QString> textAsWritten(const QString& file, const QString& name) {
    QFile ini(file);
    if (!ini.open(QIODevice::ReadOnly | QIODevice::Text)) return std::nullopt;
    const QString sectionLine = QLatin1Char('[') + kSection + QLatin1Char(']');
    std::optional<QString> found;
    bool inSection = false;
    while (!ini.atEnd()) {
        const QString line = QString::fromUtf8(ini.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inSection = line == sectionLine;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (inSection && equals > 0 && line.left(equals).trimmed() == name)
            found = withoutComment(line.mid(equals + 1)).trimmed();
    }
    return found;
}
}  // namespace

QString keys::outputFolderDefault(Shell& shell) {
    return shell.desktopFolder() + QLatin1Char('/');
}

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
    : path_(QDir(folder).filePath(kApplication + QStringLiteral(".ini"))) {
    // The store reads its file at once, and reading a named pipe waits for a
    // writer for good: only a regular file, or none yet, is handed to it.
    if (!notARegularFile(path_).isEmpty()) return;
    store_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
    keepHandEditedListsAsWritten();
}

// The store reads text with an unquoted comma, typed into the file by hand,
// as a list, and its next write would store that list with ", " between the
// parts. The text as it stands in the file is what was meant: it takes the
// list's place, and the next write stores it quoted, as the store's own
// writes store such text.
void Settings::keepHandEditedListsAsWritten() {
    store_->beginGroup(kSection);
    for (const QString& key : store_->childKeys()) {
        const QVariant value = store_->value(key);
        if (value.typeId() == QMetaType::QStringList)
            store_->setValue(
                key,
                textAsWritten(path_, key).value_or(value.toStringList().join(QLatin1Char(','))));
    }
    store_->endGroup();
}

Settings::~Settings() = default;

QString Settings::userFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(kApplication);
}

QString Settings::filePath() const {
    return path_;
}

std::optional<QString> Settings::stored(const char* name) const {
    if (!store_) {
        const auto kept = kept_.constFind(QLatin1String(name));
        if (kept == kept_.cend()) return std::nullopt;
        return *kept;
    }
    const QVariant value = store_->value(keyPath(name));
    if (!value.isValid()) return std::nullopt;
    // A list here was typed into the file by another program during this run.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
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
    return readText(key, [&fallback] { return fallback; });
}

QString Settings::readText(const TextKey& key, const std::function<QString()>& fallback) const {
    const std::optional<QString> text = stored(key.name);
    if (text) return *text;
    return key.defaultValue ? QString::fromUtf8(key.defaultValue) : fallback();
}

void Settings::writeText(const TextKey& key, const QString& value) {
    write(key.name, value);
}

void Settings::write(const char* name, const QString& text) {
    if (!store_) {
        kept_.insert(QLatin1String(name), text);
        reportFirstFailedWrite();
        return;
    }
    store_->setValue(keyPath(name), text);
    store_->sync();
    // The store's status, once set, stays. A file that was no INI text when
    // read (a format error) has just been written whole all the same.
    if (store_->status() == QSettings::AccessError) reportFirstFailedWrite();
}

// A file that cannot be written fails the first write that meets it; the
// later ones keep their values for this run only, so the program goes on
// working without a failure at every change.
void Settings::reportFirstFailedWrite() {
    if (writeFailed_) return;
    writeFailed_ = true;
    throw Failure(QStringLiteral("Cannot write the settings file ") + path_);
}

}  // namespace platform

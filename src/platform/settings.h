#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QHash>
#include <QString>

class QSettings;

namespace platform {

struct OptionKey {
    const char* name;
    bool defaultValue;
};

struct TextKey {
    const char* name;
    const char* defaultValue;  // nullptr: the caller supplies the default
};

class Shell;

// Every stored setting, each with its default, in one place. The stored keys
// are named after the controls that hold the settings.
namespace keys {
// The list source: the built-in list or the User List.
inline constexpr OptionKey BuiltInList{"Option9", true};
inline constexpr OptionKey UserList{"Option8", false};
// The gender of the built-in first names: both, male only or female only.
inline constexpr OptionKey BothGenders{"Option1", true};
inline constexpr OptionKey MaleOnly{"Option2", false};
inline constexpr OptionKey FemaleOnly{"Option3", false};
// The part of the name generated.
inline constexpr OptionKey FirstAndLastName{"Option4", true};
inline constexpr OptionKey FirstNameOnly{"Option5", false};
inline constexpr OptionKey LastNameOnly{"Option6", false};
// How many names to generate, as typed.
inline constexpr TextKey Count{"Text1", "100"};
// The folder results are saved to, ending in a separator. Its default is the
// desktop folder, asked of the shell only when no folder is stored.
inline constexpr TextKey OutputFolder{"Text2", nullptr};
QString outputFolderDefault(Shell& shell);
// The origins of the built-in list: a tag, or tags with shares ("de:50,ja:50").
// Its default is the origin of the user's locale, found among the stored ones.
inline constexpr TextKey Origin{"Origin", nullptr};
// Names drawn as common as they are in life, where the origins carry frequencies.
inline constexpr OptionKey Weighted{"Weighted", false};
// The birth decades of the first names ("1950s", "1950s-1970s", "1985"); empty: all years.
inline constexpr TextKey Born{"Born", ""};
// "Start Generating" invents new names in the style of the current lists.
inline constexpr OptionKey Invent{"Invent", false};
// The last folder chosen in the folder browser; never read.
inline constexpr TextKey LastChosenFolder{"LastFolderDot", nullptr};
}  // namespace keys

// Reads the stored text of an option: "True"/"False" in any letter case, or
// numeric text (true when not zero). Anything else has no boolean reading.
std::optional<bool> readBoolean(const QString& text);
QString booleanText(bool value);

// The per-user settings store: application "Veltrane", section "Quillfern".
// Every write reaches the file at once; when the file cannot be written, only
// the first write says so (throws), and the values live on for this run.
// A settings file that is no regular file (a named pipe, a device, a folder)
// is never opened: the run starts with the defaults, as with an empty file.
class Settings {
public:
    // Uses <folder>/Veltrane.ini; tests pass a temporary folder.
    explicit Settings(const QString& folder);
    ~Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    // The user's own settings folder.
    static QString userFolder();

    QString filePath() const;

    // Throws platform::Failure when the stored text is not a boolean.
    bool readOption(const OptionKey& key) const;
    void writeOption(const OptionKey& key, bool value);

    // Absent key: the key's default, or `fallback` for keys without one.
    QString readText(const TextKey& key, const QString& fallback = QString()) const;
    // The same with a default that is made only when it is needed.
    QString readText(const TextKey& key, const std::function<QString()>& fallback) const;
    void writeText(const TextKey& key, const QString& value);

private:
    std::optional<QString> stored(const char* name) const;
    void write(const char* name, const QString& text);
    void reportFirstFailedWrite();
    void keepHandEditedListsAsWritten();

    QString path_;
    std::unique_ptr<QSettings> store_;  // none when the file is no regular file
    QHash<QString, QString> kept_;      // without a store: this run's values
    bool writeFailed_ = false;
};

}  // namespace platform

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/failure.h"
#include "support/temp_settings.h"

namespace {

namespace keys = platform::keys;

QString rawValue(const platform::Settings& settings, const char* key) {
    QSettings raw(settings.filePath(), QSettings::IniFormat);
    return raw.value(QStringLiteral("Quillfern/") + key).toString();
}

TEST(SettingsStore, AbsentKeysGiveTheirDefaults) {
    testsupport::TempSettings temp;
    EXPECT_TRUE(temp.settings.readOption(keys::BuiltInList));
    EXPECT_FALSE(temp.settings.readOption(keys::UserList));
    EXPECT_TRUE(temp.settings.readOption(keys::BothGenders));
    EXPECT_EQ(temp.settings.readText(keys::Count), "100");
    EXPECT_EQ(temp.settings.readText(keys::OutputFolder, "/home/ann/Desktop/"),
              "/home/ann/Desktop/");
}

TEST(SettingsStore, OptionsAreWrittenAsTrueAndFalseUnderTheSection) {
    testsupport::TempSettings temp;
    temp.settings.writeOption(keys::UserList, true);
    temp.settings.writeOption(keys::BuiltInList, false);
    EXPECT_EQ(rawValue(temp.settings, "Option8"), "True");
    EXPECT_EQ(rawValue(temp.settings, "Option9"), "False");
    EXPECT_TRUE(temp.settings.filePath().endsWith("/Veltrane.ini"));
    QFile file(temp.settings.filePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("[Quillfern]"));
}

TEST(SettingsStore, EveryWriteReachesTheFileAtOnce) {
    testsupport::TempSettings temp;
    temp.settings.writeText(keys::Count, "12abc");
    // A second store on the same file, as on the next start, sees the text unchanged.
    platform::Settings nextRun(temp.folder.path());
    EXPECT_EQ(nextRun.readText(keys::Count), "12abc");
    temp.settings.writeText(keys::Count, "a, b; \"c\"");
    EXPECT_EQ(platform::Settings(temp.folder.path()).readText(keys::Count), "a, b; \"c\"");
}

TEST(SettingsStore, AHandEditedValueComesBackAsWritten) {
    const struct {
        const char* file;
        const char* expected;  // the text of Text1
    } cases[] = {
        {"[Quillfern]\nText1=1,000\n", "1,000"},
        {"[Quillfern]\nText1 = 1, 000 \n", "1, 000"},
        {"[Quillfern]\r\nText1=a,,b\r\n", "a,,b"},
        {"[Quillfern]\nText1=,\n", ","},
        {"[Quillfern]\nText1=1,000 ; a thousand\n", "1,000"},
        {"[Quillfern]\nText1=\"a;b\",c\n", "\"a;b\",c"},
        {"[Quillfern]\nText1=\"1,000\"\n", "1,000"},
        {"[Quillfern]\nText1=5\nText1=6,5\n", "6,5"},
        {"[Other]\nText1=9,9\n[Quillfern]\nText10=8,8\nText1=1,5\n[Last]\nText1=7,7\n", "1,5"},
    };
    for (const auto& c : cases) {
        testsupport::TempSettings temp;
        QFile file(temp.settings.filePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.file);
        file.close();
        platform::Settings settings(temp.folder.path());
        EXPECT_EQ(settings.readText(keys::Count), QString::fromUtf8(c.expected)) << c.file;
        // Writing another key writes the file anew; the text stays.
        settings.writeOption(keys::BuiltInList, true);
        EXPECT_EQ(platform::Settings(temp.folder.path()).readText(keys::Count),
                  QString::fromUtf8(c.expected))
            << c.file;
    }
}

TEST(SettingsStore, BooleanReadingAcceptsWordsInAnyCaseAndNumbers) {
    const struct {
        const char* text;
        std::optional<bool> expected;
    } cases[] = {
        {"True", true}, {"FALSE", false}, {"tRuE", true}, {"false", false}, {"1", true},
        {"0", false},   {"-1", true},     {"0.0", false}, {"2.5", true},    {" True ", true},
        {"yes", {}},    {"", {}},         {"Truee", {}},  {"1x", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::readBoolean(QString::fromUtf8(c.text)), c.expected) << c.text;
    }
}

TEST(SettingsStore, AStoredOptionThatIsNotABooleanIsAFailure) {
    testsupport::TempSettings temp;
    temp.settings.writeText({"Option9", nullptr}, "maybe");
    EXPECT_THROW(temp.settings.readOption(keys::BuiltInList), platform::Failure);
    temp.settings.writeText({"Option9", nullptr}, "0");
    EXPECT_FALSE(temp.settings.readOption(keys::BuiltInList));
}

TEST(SettingsStore, AWriteThatCannotReachTheFileIsAFailure) {
    QTemporaryDir folder;
    // A folder where the settings file should be: no write can succeed, even as root.
    ASSERT_TRUE(QDir(folder.path()).mkdir("Veltrane.ini"));
    platform::Settings settings(folder.path());
    EXPECT_THROW(settings.writeText(keys::Count, "6"), platform::Failure);
}

}  // namespace

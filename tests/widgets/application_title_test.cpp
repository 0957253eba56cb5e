#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include "widgets/application_title.h"

namespace {

TEST(ApplicationTitle, LosesItsLastWordAndMoreWhileLongerThanForty) {
    const struct {
        const char* product;
        const char* title;
    } cases[] = {
        {"Quillfern", "Quillfern"},                  // no blank: stays whole
        {"Quillfern Name Maker", "Quillfern Name"},  // three words, 20 characters
        {"Quillfern Names", "Quillfern"},
        // seven words, 60 characters: words go until 40 or fewer remain
        {"Quillfern Random Name Generators For Creative Worldbuilders!",
         "Quillfern Random Name Generators For"},
        {"Averyveryveryveryveryveryveryveryverylongword x",
         "Averyveryveryveryveryveryveryveryverylongword"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(widgets::applicationTitle(QString::fromUtf8(c.product)),
                  QString::fromUtf8(c.title))
            << c.product;
    }
    const QString sevenWords = "Quillfern Random Name Generators For Creative Worldbuilders!";
    EXPECT_EQ(sevenWords.size(), 60);
    EXPECT_EQ(sevenWords.split(' ').size(), 7);
}

}  // namespace

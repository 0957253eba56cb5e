#include "widgets/application_title.h"

namespace widgets {

QString applicationTitle(const QString& productTitle) {
    QString title = productTitle;
    do {
        const qsizetype lastBlank = title.lastIndexOf(QLatin1Char(' '));
        if (lastBlank < 0) break;
        title.truncate(lastBlank);
    } while (title.size() > 40);
    return title;
}

}  // namespace widgets

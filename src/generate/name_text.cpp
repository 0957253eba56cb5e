#include "generate/name_text.h"

namespace generate {

QString RemoveBlanks(const QString& text) {
    if (!text.contains(QLatin1Char(' '))) return text;
    QString result = text;
    result.remove(QLatin1Char(' '));
    return result;
}

}  // namespace generate

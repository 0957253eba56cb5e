#include "results/form2.h"

namespace results {

Form2::Form2() { setObjectName(QStringLiteral("Form2")); }

}  // namespace results

#pragma once

#include <QWidget>

namespace results {

// The results window.
class Form2 : public QWidget {
    Q_OBJECT
public:
    Form2();
};

}  // namespace results

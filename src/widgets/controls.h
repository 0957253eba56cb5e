#pragma once

#include <limits>

#include <QColor>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QString>

#include "widgets/frame_style.h"
#include "widgets/twips.h"

namespace widgets {

// The controls of the program's windows, named as in the window designer and
// placed in twips. Push buttons carry the larger caption font.

// A window of fixed size with a minimize button only, its text in Arial bold 9 pt.
inline void setUpFixedWindow(QWidget* window, const char* name, int widthTwips, int heightTwips) {
    window->setObjectName(QLatin1String(name));
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint);
    window->setFixedSize(twipsToPixels(widthTwips), twipsToPixels(heightTwips));
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPointSizeF(9);
    window->setFont(font);
}

// A control of the given kind with its caption (or text), named as in the
// window designer and placed in twips.
template <class Control>
Control* makeNamed(QWidget* parent, const char* name, const QString& caption, int left, int top,
                   int width, int height) {
    auto* control = new Control(caption, parent);
    control->setObjectName(QLatin1String(name));
    placeInTwips(control, left, top, width, height);
    return control;
}

inline QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int left,
                               int top, int width, int height) {
    auto* button = makeNamed<QPushButton>(parent, name, caption, left, top, width, height);
    QFont font = button->font();
    font.setPointSizeF(11.25);
    button->setFont(font);
    return button;
}

inline QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& caption, int left,
                            int top, int width, int height) {
    auto* frame = makeNamed<QGroupBox>(parent, name, caption, left, top, width, height);
    frame->setStyle(frameStyle());
    return frame;
}

inline QRadioButton* makeOption(QWidget* parent, const char* name, const QString& caption, int left,
                                int top, int width, int height) {
    return makeNamed<QRadioButton>(parent, name, caption, left, top, width, height);
}

// A text box takes any length of text: a stored value comes back unchanged.
inline QLineEdit* makeTextBox(QWidget* parent, const char* name, const QString& text, int left,
                              int top, int width, int height) {
    auto* box = makeNamed<QLineEdit>(parent, name, text, left, top, width, height);
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
}

// The tab key moves through the controls in the order given.
inline void setTabOrder(const QList<QWidget*>& order) {
    for (qsizetype i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

// True for a list's column header and its parts. The header needs the mouse
// movements: over the divider between columns it shows the resize pointer.
inline bool isListHeader(const QObject* object) {
    for (auto* widget = qobject_cast<const QWidget*>(object); widget;
         widget = widget->parentWidget()) {
        if (qobject_cast<const QHeaderView*>(widget)) return true;
    }
    return false;
}

// Fills the widget's background with the colour (buttons fill with their
// button colour, other widgets with their window colour).
inline void paintBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(widget->backgroundRole(), colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

}  // namespace widgets

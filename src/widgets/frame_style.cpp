#include "widgets/frame_style.h"

#include <qdrawutil.h>
#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionGroupBox>

namespace widgets {

namespace {

class PlainFrameStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        const auto* frame = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
        if (control != CC_GroupBox || !frame) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        // The caption as the style draws it, without the style's panel.
        QStyleOptionGroupBox caption(*frame);
        caption.subControls &= ~SC_GroupBoxFrame;
        QProxyStyle::drawComplexControl(control, &caption, painter, widget);
        if (!(frame->subControls & SC_GroupBoxFrame)) return;

        // The line runs through the middle of the caption's line and leaves the caption free.
        const QRect label = subControlRect(CC_GroupBox, frame, SC_GroupBoxLabel, widget);
        QRect line = frame->rect;
        line.setTop(label.center().y());
        painter->save();
        painter->setClipRegion(QRegion(frame->rect).subtracted(label.adjusted(-2, 0, 2, 0)));
        qDrawShadeRect(painter, line, frame->palette, /*sunken=*/true, /*lineWidth=*/1,
                       /*midLineWidth=*/0);
        painter->restore();
    }
};

}  // namespace

QStyle* frameStyle() {
    static QPointer<QStyle> style;
    if (!style) {
        // Wraps a style of the application's kind (the proxy owns it).
        style = new PlainFrameStyle(QStyleFactory::create(QApplication::style()->name()));
        style->setParent(qApp);
    }
    return style;
}

}  // namespace widgets

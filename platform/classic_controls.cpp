#include "platform/classic_controls.h"

#include <QApplication>
#include <QCommonStyle>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

namespace devimax::platform {

void paintGrey(QWidget* widget, const QColor& text) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, kLightGrey);
    palette.setColor(QPalette::WindowText, text);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QRect& rect, const QFont& font) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(rect);
    button->setFont(font);
    button->setAutoDefault(false);
    return button;
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption, const QRect& rect,
                  const QFont& font, const QColor& text) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(rect);
    label->setFont(font);
    paintGrey(label, text);
    return label;
}

QStyle* plainFrameStyle() {
    static QStyle* style = [] {
        auto* common = new QCommonStyle;
        common->setParent(qApp);
        return common;
    }();
    return style;
}

} // namespace devimax::platform

#include "platform/message_box.h"

#include <QMessageBox>

namespace devimax::platform {

void showMessage(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("messageBox"));
    box.exec();
}

} // namespace devimax::platform

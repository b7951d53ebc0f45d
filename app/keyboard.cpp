// The calculator from the keyboard: typed characters click the matching keys, and
// the clipboard carries amounts in and out.
#include "app/calc_window.h"

#include "platform/locale_text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace devimax {

QPushButton* CalcWindow::keyForCharacter(const QString& typed) const {
    if (typed.size() != 1)
        return nullptr;
    const QChar c = typed.front();
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        return number_[static_cast<std::size_t>(c.digitValue())];
    switch (c.unicode()) {
    case ',':
    case '.':
        return decimal_;
    case '/':
        return operator_[0];
    case '+':
        return operator_[1];
    case '*':
    case 'x':
    case 'X':
        return operator_[2];
    case '-':
        return operator_[3];
    case '=':
        return operator_[4];
    }
    return nullptr;
}

void CalcWindow::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QGuiApplication::clipboard()->setText(readOut2_->text());
        return;
    }
    if (event->key() == Qt::Key_C &&
        event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier)) {
        QGuiApplication::clipboard()->setText(readout_->text());
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        pasteAmount(QGuiApplication::clipboard()->text());
        return;
    }
    QPushButton* key = nullptr;
    if (event->key() == Qt::Key_Escape)
        key = cancel_;
    else if (event->key() == Qt::Key_Delete)
        key = cancelEntry_;
    else if (!(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        key = keyForCharacter(event->text());
    if (!key) {
        QWidget::keyPressEvent(event);
        return;
    }
    key->click();
}

void CalcWindow::pasteAmount(const QString& text) {
    // Only a plain amount is typed in: digits with at most one decimal separator.
    const QString amount = text.trimmed();
    const QString separator = QString::fromStdString(platform::decimalSeparator());
    const qsizetype point = amount.indexOf(separator);
    QString digits = amount;
    if (point >= 0)
        digits.remove(point, separator.size());
    if (digits.isEmpty())
        return;
    for (QChar c : digits) { // a second separator or anything else refuses the whole text
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return;
    }
    for (qsizetype i = 0; i < amount.size();) {
        if (i == point) {
            decimal_->click();
            i += separator.size();
        } else {
            number_[static_cast<std::size_t>(amount[i].digitValue())]->click();
            ++i;
        }
    }
}

} // namespace devimax

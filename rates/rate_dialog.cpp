#include "rates/rate_dialog.h"

#include "calculator/number_text.h"
#include "platform/classic_controls.h"
#include "platform/fonts.h"
#include "platform/locale_text.h"
#include "platform/message_box.h"
#include "rates/application_state.h"
#include "rates/data_link.h"

#include <QApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace devimax::rates {
namespace {

using platform::makeButton;
using platform::plainFrameStyle;
using platform::twips;

QFont defaultFont() {
    return platform::designFont(QStringLiteral("MS Sans Serif"), 8.25);
}

QFont comicFont(double points) {
    return platform::designFont(QStringLiteral("Comic Sans MS"), points);
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption, const QRect& rect,
                  const QFont& font) {
    return platform::makeLabel(parent, name, caption, rect, font);
}

const QString& workingCopy(const QString& name) {
    static const QString none;
    const ApplicationState& state = appState();
    if (name == QLatin1String("Franc"))
        return state.rateFFR;
    if (name == QLatin1String("Dollar"))
        return state.rateUSD;
    if (name == QLatin1String("Mark"))
        return state.rateDEM;
    return none;
}

} // namespace

RateDialog::RateDialog(QWidget* mainWindow, std::array<BoundLabel*, 3> boundLabels)
    : SecondaryWindow(mainWindow, twips(0, 0, 2460, 1815).size()) {
    for (std::size_t i = 0; i < boundLabels.size(); ++i)
        boundLabels_[i] = boundLabels[i];
    setObjectName(QStringLiteral("frmChange"));
    setAccessibleName(QStringLiteral("Taux de change"));
    setWindowIcon(QIcon(QStringLiteral(":/devimax/euro_icon.xpm")));
    setFont(defaultFont());
    platform::paintGrey(this);
    platform::paintGrey(clientArea());

    createControls();
    loadDialog();
}

void RateDialog::createControls() {
    frame1_ = new QGroupBox(clientArea());
    frame1_->setStyle(plainFrameStyle());
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setGeometry(twips(120, 60, 2235, 1275));
    frame1_->setFont(comicFont(8.25));
    platform::paintGrey(frame1_);

    text1_ = new QLineEdit(frame1_);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setGeometry(twips(1380, 780, 735, 315));
    text1_->setFont(defaultFont());

    label1_ = makeLabel(frame1_, QStringLiteral("Label1"), QStringLiteral("Nouvelle valeur:"),
                        twips(60, 840, 1275, 315), comicFont(8.25));
    label2_ = makeLabel(frame1_, QStringLiteral("Label2"), QStringLiteral("Ancienne valeur:"),
                        twips(60, 300, 1335, 315), comicFont(8.25));
    label3_ = makeLabel(frame1_, QStringLiteral("Label3"), QString(), twips(1380, 240, 735, 315),
                        defaultFont());
    label3_->setFrameStyle(QFrame::Box | QFrame::Plain);
    label3_->setLineWidth(1);
    label3_->setAlignment(Qt::AlignCenter);
    // For screen readers: each box is announced with the caption beside it.
    label1_->setBuddy(text1_);
    label3_->setAccessibleDescription(QStringLiteral("Ancienne valeur"));

    // Right of the client area: never seen, but it is the default button.
    cmdFocus_ = makeButton(clientArea(), QStringLiteral("cmdFocus"), QStringLiteral("Focus"),
                           twips(3000, 720, 615, 315), defaultFont());
    setDefaultButton(cmdFocus_);
    cmdFocus_->setDefault(true);
    cmdAnnuler_ = makeButton(clientArea(), QStringLiteral("cmdAnnuler"), QStringLiteral("Annuler"),
                             twips(240, 1440, 915, 315), comicFont(9));
    cmdValide_ = makeButton(clientArea(), QStringLiteral("cmdValide"), QStringLiteral("Valider"),
                            twips(1260, 1440, 915, 315), comicFont(9));

    QWidget::setTabOrder(text1_, cmdFocus_);
    QWidget::setTabOrder(cmdFocus_, cmdAnnuler_);
    QWidget::setTabOrder(cmdAnnuler_, cmdValide_);

    connect(text1_, &QLineEdit::textChanged, this, &RateDialog::filterEntry);
    connect(cmdValide_, &QPushButton::clicked, this, &RateDialog::validate);
    connect(cmdFocus_, &QPushButton::clicked, this, &RateDialog::validate);
    connect(cmdAnnuler_, &QPushButton::clicked, this, &RateDialog::cancel);
}

void RateDialog::loadDialog() {
    QScreen* screen = mainWindow() ? mainWindow()->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->geometry();
        // Frameless: the outer size is the widget's own size.
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2);
    }
    const QString& name = appState().rateEditName;
    frame1_->setTitle(name + QStringLiteral("s pour un Euro:"));
    label3_->setText(workingCopy(name));
    text1_->setFocus();
}

void RateDialog::filterEntry(const QString& text) {
    if (text.isEmpty())
        return;
    const QChar last = text.back();
    if ((last >= QLatin1Char('0') && last <= QLatin1Char('9')) || last == QLatin1Char(','))
        return;
    text1_->setText(QString()); // runs this filter again, which stops at the empty text
    platform::showMessage(this, QStringLiteral("ATTENTION"),
                          QStringLiteral("Vous devez entrer une valeur numérique sous la forme "
                                         "'' 2,458 ''."));
}

void RateDialog::validate() {
    const QString text = text1_->text();
    // An entry must read as a positive number: a lone comma, 0 or "1,,5" would
    // otherwise become a rate that every later conversion fails on.
    const auto value = calc::readNumber(text.toStdString(), platform::decimalSeparator());
    if (!value || !(*value > 0)) {
        platform::showMessage(this, QStringLiteral("ATTENTION"),
                              QStringLiteral("Vous devez saisir une valeur supérieure à 0."));
        return;
    }
    ApplicationState& state = appState();
    QString* copy = nullptr;
    BoundLabel* label = nullptr;
    switch (state.rateEditIndex) {
    case 1:
        copy = &state.rateFFR;
        label = boundLabels_[0];
        break;
    case 2:
        copy = &state.rateUSD;
        label = boundLabels_[1];
        break;
    case 3:
        copy = &state.rateDEM;
        label = boundLabels_[2];
        break;
    default:
        break;
    }
    if (copy)
        *copy = text;
    if (label)
        label->setCaption(text);
    closeAndShowMainWindow();
}

void RateDialog::cancel() {
    closeAndShowMainWindow();
}

RateDialog* openRateDialog(QWidget* mainWindow, std::array<BoundLabel*, 3> labels, int index,
                           const QString& name) {
    ApplicationState& state = appState();
    state.rateEditIndex = index;
    state.rateEditName = name;
    auto* dialog = new RateDialog(mainWindow, labels);
    dialog->show();
    if (mainWindow)
        mainWindow->hide();
    return dialog;
}

} // namespace devimax::rates

// Creation of the calculator window's controls, in the order they are laid out.
// Positions are given in twips as designed and placed at 15 twips per pixel.
#include "app/calc_window.h"
#include "platform/classic_controls.h"
#include "platform/directory_list.h"
#include "platform/fonts.h"
#include "rates/data_link.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

namespace devimax {
namespace {

using platform::twips;

QFont sansSerif() {
    return platform::designFont(QStringLiteral("MS Sans Serif"), 8.25);
}

QLabel* makePicture(QWidget* parent, const QString& name, const QString& resource, int left) {
    auto* picture = new QLabel(parent);
    picture->setObjectName(name);
    picture->setGeometry(twips(left, 2460, 480, 480));
    picture->setPixmap(QPixmap(resource));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return picture;
}

QLabel* makeDisplay(QWidget* parent, const QString& name, const QString& caption, int top,
                    const QString& description) {
    auto* display = new QLabel(caption, parent);
    display->setObjectName(name);
    display->setGeometry(twips(120, top, 1635, 255));
    display->setFont(sansSerif());
    display->setAutoFillBackground(true);
    QPalette palette = display->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, QColor(0, 255, 0));
    display->setPalette(palette);
    // Right-aligned and never wrapped: a number longer than the strip keeps its
    // right end, where the digits are typed, in view.
    display->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    display->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    display->setLineWidth(1);
    display->setAccessibleDescription(description);
    return display;
}

QLabel* makeCurrencyLabel(QWidget* parent, const QString& name, const QString& caption,
                          const QRect& rect) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(rect);
    label->setFont(sansSerif());
    label->setAlignment(Qt::AlignCenter);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

} // namespace

void CalcWindow::createKeypad() {
    const QFont keyFont = sansSerif();
    const QFont windowFont = font();
    const QFont smallFont = platform::designFont(QStringLiteral("Small Fonts"), 6.75);
    struct Key {
        int index;
        int left;
        int top;
        int width;
    };
    // Digit keys: index = digit.
    const Key digits[] = {{7, 60, 60, 315},  {8, 420, 60, 315},  {9, 780, 60, 315},
                          {4, 60, 420, 315}, {5, 420, 420, 315}, {6, 780, 420, 315},
                          {1, 60, 780, 315}, {2, 420, 780, 315}, {3, 780, 780, 315},
                          {0, 60, 1140, 675}};
    for (const Key& key : digits) {
        const QString caption = QString::number(key.index);
        auto* button =
            platform::makeButton(this, QStringLiteral("Number%1").arg(key.index), caption,
                                 twips(key.left, key.top, key.width, 315), keyFont);
        connect(button, &QPushButton::clicked, this, [this, i = key.index] { numberClicked(i); });
        number_[static_cast<std::size_t>(key.index)] = button;
    }
    // Operator keys: 0 "/", 1 "+", 2 "X", 3 "-", 4 "=".
    const Key operators[] = {{0, 1500, 780, 315},
                             {1, 1140, 420, 315},
                             {2, 1140, 780, 315},
                             {3, 1500, 420, 315},
                             {4, 1140, 1140, 675}};
    const char* captions[] = {"/", "+", "X", "-", "="};
    const char* spokenNames[] = {"Diviser", "Plus", "Multiplier", "Moins", "Égal"};
    for (const Key& key : operators) {
        const auto i = static_cast<std::size_t>(key.index);
        auto* button = platform::makeButton(
            this, QStringLiteral("Operator%1").arg(key.index), QString::fromLatin1(captions[i]),
            twips(key.left, key.top, key.width, 315), key.index == 3 ? windowFont : keyFont);
        button->setAccessibleName(QString::fromUtf8(spokenNames[i]));
        connect(button, &QPushButton::clicked, this,
                [this, index = key.index] { operatorClicked(index); });
        operator_[i] = button;
    }
    cancel_ = platform::makeButton(this, QStringLiteral("Cancel"), QStringLiteral("C"),
                                   twips(1140, 60, 315, 315), smallFont);
    cancel_->setAccessibleName(QStringLiteral("Effacer"));
    connect(cancel_, &QPushButton::clicked, this, &CalcWindow::cancelClicked);
    cancelEntry_ = platform::makeButton(this, QStringLiteral("CancelEntry"), QStringLiteral("Ce"),
                                        twips(1500, 60, 315, 315), smallFont);
    cancelEntry_->setAccessibleName(QString::fromUtf8("Effacer l'entrée"));
    connect(cancelEntry_, &QPushButton::clicked, this, &CalcWindow::cancelEntryClicked);
    decimal_ = platform::makeButton(this, QStringLiteral("Decimal"), QStringLiteral("."),
                                    twips(780, 1140, 315, 315), windowFont);
    decimal_->setAccessibleName(QStringLiteral("Virgule"));
    connect(decimal_, &QPushButton::clicked, this, &CalcWindow::decimalClicked);
}

void CalcWindow::createDisplays() {
    readout_ = makeDisplay(this, QStringLiteral("Readout"), QStringLiteral("0."), 1560,
                           QStringLiteral("Affichage principal"));
    lbl1_ = makeCurrencyLabel(this, QStringLiteral("lbl1"), QStringLiteral("Dollar"),
                              twips(1320, 1800, 495, 195));
    check1_ = new QCheckBox(this);
    check1_->setObjectName(QStringLiteral("Check1"));
    check1_->setGeometry(twips(840, 1860, 195, 255));
    check1_->setAccessibleName(QString::fromUtf8("Monnaie nationale dans l'affichage principal"));
    connect(check1_, &QCheckBox::stateChanged, this, &CalcWindow::changeDirection);
    lbl2_ = makeCurrencyLabel(this, QStringLiteral("lbl2"), QStringLiteral("Euro"),
                              twips(60, 1980, 495, 195));
    readOut2_ = makeDisplay(this, QStringLiteral("ReadOut2"), QStringLiteral("0,"), 2160,
                            QStringLiteral("Affichage converti"));
}

void CalcWindow::createBottomRow() {
    image19_ = makePicture(this, QStringLiteral("Image19"),
                           QStringLiteral(":/devimax/flag_europe.xpm"), 60);
    image19_->setAccessibleName(QStringLiteral("Drapeau européen"));
    cmdMenu_ = platform::makeButton(this, QStringLiteral("cmdMenu"), QStringLiteral("Menu"),
                                    twips(600, 2520, 675, 315),
                                    platform::designFont(QStringLiteral("Comic Sans MS"), 9));
    connect(cmdMenu_, &QPushButton::clicked, this, &CalcWindow::showProgramMenu);
    image22_ = makePicture(this, QStringLiteral("Image22"),
                           QStringLiteral(":/devimax/flag_germany.xpm"), 1380);
    image22_->setAccessibleName(QStringLiteral("Drapeau allemand"));
    image21_ = makePicture(this, QStringLiteral("Image21"),
                           QStringLiteral(":/devimax/flag_usa.xpm"), 1380);
    image21_->setAccessibleName(QString::fromUtf8("Drapeau des États-Unis"));
    image21_->hide();
    image20_ = makePicture(this, QStringLiteral("Image20"),
                           QStringLiteral(":/devimax/flag_france.xpm"), 1380);
    image20_->setAccessibleName(QString::fromUtf8("Drapeau français"));
    image20_->hide();
}

void CalcWindow::createHiddenControls() {
    // Everything here lies right of the client area: present, never seen.
    cmdFocus_ = platform::makeButton(this, QStringLiteral("cmdFocus"), QStringLiteral("Focus"),
                                     twips(2340, 2700, 855, 315), sansSerif());
    // It holds the keyboard focus between keys: what a screen reader says then.
    cmdFocus_->setAccessibleName(QStringLiteral("Calculatrice"));
    cmdFocus_->setAccessibleDescription(
        QString::fromUtf8("Tapez les chiffres et les opérations au clavier"));

    data1_ = new rates::DataLink(this);
    data1_->setObjectName(QStringLiteral("Data1"));
    data1_->setRecordSource(QStringLiteral("Parametres"));

    const auto makeBound = [this](const QString& name, const QString& field, int top) {
        auto* label = new rates::BoundLabel(data1_, field, this);
        label->setObjectName(name);
        label->setGeometry(twips(2280, top, 1035, 255));
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setAlignment(Qt::AlignCenter);
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, palette.color(QPalette::Base));
        palette.setColor(QPalette::WindowText, palette.color(QPalette::Text));
        label->setPalette(palette);
        return label;
    };
    label1_ = makeBound(QStringLiteral("Label1"), QStringLiteral("FFR"), 540);
    label2_ = makeBound(QStringLiteral("Label2"), QStringLiteral("USD"), 780);
    label3_ = makeBound(QStringLiteral("Label3"), QStringLiteral("DEM"), 1020);

    dir1_ = new platform::DirectoryList(this);
    dir1_->setObjectName(QStringLiteral("Dir1"));
    dir1_->setGeometry(twips(2160, 1320, 1215, 300));
    drive1_ = new platform::DriveList(this);
    drive1_->setObjectName(QStringLiteral("Drive1"));
    drive1_->setGeometry(twips(2160, 1680, 1215, 360));
    // Nobody sees these off-screen controls; hidden, no screen reader lists them.
    for (QWidget* unseen : {static_cast<QWidget*>(label1_), static_cast<QWidget*>(label2_),
                            static_cast<QWidget*>(label3_), static_cast<QWidget*>(dir1_), drive1_})
        unseen->hide();

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    connect(timer1_, &QTimer::timeout, this, &CalcWindow::liveUpdateTick);
    timer2_ = new QTimer(this);
    timer2_->setObjectName(QStringLiteral("Timer2"));
    connect(timer2_, &QTimer::timeout, this, &CalcWindow::completeStartup);
}

void CalcWindow::createMenu() {
    cmdProgramme_ = new QMenu(QStringLiteral("Programme"), this);
    cmdProgramme_->setObjectName(QStringLiteral("cmdProgramme"));

    const auto item = [](QMenu* menu, const QString& name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        return action;
    };
    const auto separator = [](QMenu* menu, const QString& name) {
        QAction* action = menu->addSeparator();
        action->setObjectName(name);
    };
    const auto submenu = [this](const QString& name, const QString& caption) {
        QMenu* menu = cmdProgramme_->addMenu(caption);
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name);
        return menu;
    };

    QMenu* monnaie = submenu(QStringLiteral("cmdMonnaie"), QStringLiteral("Monnaie"));
    cmdFranc_ = item(monnaie, QStringLiteral("cmdFranc"), QStringLiteral("Franc"));
    cmdDollar_ = item(monnaie, QStringLiteral("cmdDollar"), QStringLiteral("Dollar"));
    cmdMark_ = item(monnaie, QStringLiteral("cmdMark"), QStringLiteral("Mark"));
    connect(cmdFranc_, &QAction::triggered, this, [this] { chooseCurrency(1); });
    connect(cmdDollar_, &QAction::triggered, this, [this] { chooseCurrency(2); });
    connect(cmdMark_, &QAction::triggered, this, [this] { chooseCurrency(3); });
    separator(cmdProgramme_, QStringLiteral("cmdBarre1"));

    QMenu* taux = submenu(QStringLiteral("cmdTaux"), QStringLiteral("Change"));
    rateItems_[0] = item(taux, QStringLiteral("cmdFran"), QStringLiteral("Franc"));
    rateItems_[1] = item(taux, QStringLiteral("cmdDolla"), QStringLiteral("Dollar"));
    rateItems_[2] = item(taux, QStringLiteral("cmdMar"), QStringLiteral("Mark"));
    for (int i = 0; i < 3; ++i) {
        connect(rateItems_[static_cast<std::size_t>(i)], &QAction::triggered, this,
                [this, currency = i + 1] { openRateDialog(currency); });
    }
    separator(cmdProgramme_, QStringLiteral("cmdBarre2"));

    mnuLog_ = item(cmdProgramme_, QStringLiteral("mnuLog"), QStringLiteral("     ?"));
    connect(mnuLog_, &QAction::triggered, this, &CalcWindow::showAboutBox);
    separator(cmdProgramme_, QStringLiteral("cmdBarre3"));
    QAction* quit = item(cmdProgramme_, QStringLiteral("cmdQuitte"), QStringLiteral("Quitter"));
    connect(quit, &QAction::triggered, this, &CalcWindow::quitProgram);
}

void CalcWindow::setTabOrder() {
    QWidget* order[] = {cmdFocus_,    number_[0],   number_[1],   number_[2],   number_[3],
                        number_[4],   number_[5],   number_[6],   number_[7],   number_[8],
                        number_[9],   cancel_,      cancelEntry_, operator_[1], operator_[3],
                        operator_[2], operator_[0], operator_[4], decimal_,     check1_,
                        cmdMenu_};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
    QWidget::setTabOrder(cmdMenu_, cmdFocus_);
}

} // namespace devimax

#include "about/about_window.h"

#include "platform/classic_controls.h"
#include "platform/cursors.h"
#include "platform/fonts.h"
#include "platform/web_page.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

namespace devimax::about {
namespace {

using platform::makeButton;
using platform::plainFrameStyle;
using platform::twips;

QFont windowFont() {
    return platform::designFont(QStringLiteral("MS Sans Serif"), 8.25);
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption, const QRect& rect,
                  const QFont& font, const QColor& text,
                  Qt::Alignment alignment = Qt::AlignHCenter | Qt::AlignTop) {
    QLabel* label = platform::makeLabel(parent, name, caption, rect, font, text);
    label->setAlignment(alignment);
    return label;
}

} // namespace

AboutWindow::AboutWindow(QWidget* mainWindow)
    : SecondaryWindow(mainWindow, twips(0, 0, 3345, 3765).size()) {
    setObjectName(QStringLiteral("frmLog"));
    setAccessibleName(QString::fromUtf8("À propos de Devimax"));
    setFont(windowFont());
    platform::paintGrey(this, Qt::black);
    setCursor(Qt::ArrowCursor);
    platform::paintGrey(clientArea(), Qt::black);
    // The client area's top-left corner lies at 1905, 2130 twips on the screen.
    moveClientArea(twips(1905, 2130, 0, 0).topLeft());

    createControls();
    cmdFocus_->setFocus();
}

void AboutWindow::createControls() {
    frame1_ = new QGroupBox(clientArea());
    frame1_->setStyle(plainFrameStyle());
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->setGeometry(twips(60, 0, 3195, 3675));
    platform::paintGrey(frame1_, Qt::black);
    frame1_->setMouseTracking(true);
    frame1_->installEventFilter(this);

    auto* image1 = new QLabel(frame1_);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setGeometry(twips(360, 480, 480, 480));
    image1->setPixmap(QPixmap(QStringLiteral(":/devimax/about_calculator.xpm")));
    image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    makeLabel(frame1_, QStringLiteral("Label1"), QStringLiteral("\"DEVIMAX\""),
              twips(1080, 540, 1755, 255),
              platform::designFont(QStringLiteral("Comic Sans MS"), 8.25, false, true),
              QColor(128, 0, 0));
    makeLabel(frame1_, QStringLiteral("Label2"), QStringLiteral("Programme freeware"),
              twips(1080, 840, 1755, 255), windowFont(), Qt::black);

    // A drawn line: the mouse passes through it to the frame.
    auto* line1 = new QWidget(frame1_);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setGeometry(twips(720, 1320, 2520 - 720, 15));
    line1->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette linePalette = line1->palette();
    linePalette.setColor(QPalette::Window, Qt::black);
    line1->setPalette(linePalette);
    line1->setAutoFillBackground(true);

    // Left-aligned with nothing beside it: it runs on towards the frame's edge, as
    // the substitute font is wider than the 2115 twips first drawn for this line.
    makeLabel(frame1_, QStringLiteral("Label3"), QStringLiteral("Ce programme a été réalisé par:"),
              twips(600, 1560, 2535, 255), windowFont(), Qt::black, Qt::AlignLeft | Qt::AlignTop);
    const QFont authorFont = platform::designFont(QStringLiteral("MS Sans Serif"), 8.25, true);
    makeLabel(frame1_, QStringLiteral("Label4"), QStringLiteral("L'équipe Devimax"),
              twips(1080, 1980, 1500, 195), authorFont, Qt::white);
    makeLabel(frame1_, QStringLiteral("Label5"), QStringLiteral("Logiciel libre"),
              twips(1080, 2220, 1500, 195), authorFont, Qt::white);
    makeLabel(frame1_, QStringLiteral("Label6"), QStringLiteral("Debian GNU/Linux"),
              twips(1080, 2460, 1500, 195), authorFont, Qt::white);

    cmdFermer_ = makeButton(frame1_, QStringLiteral("cmdFermer"), QStringLiteral("Fermer"),
                            twips(180, 2100, 735, 315),
                            platform::designFont(QStringLiteral("Comic Sans MS"), 9));

    const QFont linkFont = platform::designFont(QStringLiteral("MS Sans Serif"), 9.75, false, true);
    makeLabel(frame1_, QStringLiteral("Label7"), QStringLiteral("devimax@example.org"),
              twips(360, 2820, 2595, 255), linkFont, QColor(0, 128, 128));
    label8_ = makeLabel(frame1_, QStringLiteral("Label8"), kAuthorPage, twips(180, 3180, 2835, 255),
                        linkFont, QColor(0, 0, 255));
    label8_->setMouseTracking(true);
    label8_->installEventFilter(this);

    // Right of the client area: never seen; the default button, with no action.
    cmdFocus_ = makeButton(clientArea(), QStringLiteral("cmdFocus"), QStringLiteral("Focus"),
                           twips(4320, 960, 615, 315), windowFont());
    setDefaultButton(cmdFocus_);
    cmdFocus_->setDefault(true);

    QWidget::setTabOrder(cmdFocus_, cmdFermer_);
    connect(cmdFermer_, &QPushButton::clicked, this, &AboutWindow::closeAboutBox);
}

bool AboutWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == label8_) {
        switch (event->type()) {
        case QEvent::MouseMove:
            setCursor(Qt::UpArrowCursor);
            return true;
        case QEvent::MouseButtonPress:
            linkPressed_ = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
            return true;
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const bool click = linkPressed_ && mouse->button() == Qt::LeftButton &&
                               label8_->rect().contains(mouse->position().toPoint());
            linkPressed_ = false;
            if (click)
                openAuthorPage();
            return true;
        }
        default:
            break;
        }
    } else if (watched == frame1_ && event->type() == QEvent::MouseMove) {
        // Only the frame's bare area sets the icon pointer. Qt hands a move without
        // buttons to the control under the pointer, not to the frame; the check keeps
        // it so should a control ever pass a move on.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!frame1_->childAt(mouse->position().toPoint()))
            setCursor(platform::iconCursor());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void AboutWindow::openAuthorPage() {
    // Whatever the desktop answers, the window stays as it is.
    platform::openWebPage(label8_->text());
}

void AboutWindow::closeAboutBox() {
    closeAndShowMainWindow();
}

AboutWindow* showAboutBox(QWidget* mainWindow) {
    if (mainWindow)
        mainWindow->hide();
    auto* window = new AboutWindow(mainWindow);
    window->show();
    return window;
}

} // namespace devimax::about

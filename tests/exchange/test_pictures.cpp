#include <QImage>
#include <QRect>
#include <QSet>
#include <QTest>

namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kLightGrey = qRgb(192, 192, 192);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kYellow = qRgb(255, 255, 0);

QImage picture(const QString& name) {
    return QImage(QStringLiteral(":/devimax/%1.xpm").arg(name))
        .convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void loads_data();
    void loads();
    void flag_data();
    void flag();
    void euroIcon();
};

void TestPictures::loads_data() {
    QTest::addColumn<QString>("name");
    for (const char* name : {"flag_europe", "flag_france", "flag_usa", "flag_germany",
                             "calculator_icon", "euro_icon", "about_calculator"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestPictures::loads() {
    QFETCH(QString, name);
    const QImage image = picture(name);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), QSize(32, 32));
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    QVERIFY2(colours.size() <= 16, qPrintable(QString::number(colours.size())));
}

void TestPictures::flag_data() {
    QTest::addColumn<QString>("name");
    for (const char* name : {"flag_europe", "flag_france", "flag_usa", "flag_germany"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

// A 20 x 15 flag in a black one-pixel frame, centred horizontally on light grey, with
// at least three ground rows below it (the window cuts those off).
void TestPictures::flag() {
    QFETCH(QString, name);
    const QImage image = picture(name);
    QRect frame;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kLightGrey)
                frame |= QRect(x, y, 1, 1);
    QCOMPARE(frame.size(), QSize(22, 17));
    QCOMPARE(frame.left(), image.width() - 1 - frame.right());
    QVERIFY(image.height() - 1 - frame.bottom() >= 3);

    const QSet<QRgb> pure{kBlack, kBlue, kYellow, qRgb(255, 0, 0), qRgb(255, 255, 255)};
    for (int y = frame.top(); y <= frame.bottom(); ++y) {
        for (int x = frame.left(); x <= frame.right(); ++x) {
            const bool onFrame =
                x == frame.left() || x == frame.right() || y == frame.top() || y == frame.bottom();
            const QRgb colour = image.pixel(x, y);
            QVERIFY2(onFrame ? colour == kBlack : pure.contains(colour),
                     qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
        }
    }
}

// Rows 2 to 29 are a blue field holding eight 2 x 2 yellow squares; the rest is
// transparent.
void TestPictures::euroIcon() {
    const QImage image = picture(QStringLiteral("euro_icon"));
    int yellow = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = image.pixel(x, y);
            if (y < 2 || y > 29) {
                QCOMPARE(qAlpha(colour), 0);
                continue;
            }
            QVERIFY(colour == kBlue || colour == kYellow);
            yellow += colour == kYellow;
        }
    }
    QCOMPARE(yellow, 8 * 4);
}

QTEST_GUILESS_MAIN(TestPictures)
#include "test_pictures.moc"

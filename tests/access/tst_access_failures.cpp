// Files that cannot be used must give a numbered French error naming the file,
// never a crash, a hang or a partial write.
#include "access_test_util.h"
#include "platform/access/access_internal.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <random>
#include <set>
#include <unistd.h>

using namespace devimax::access;
using namespace devimax::access::testing;

Q_DECLARE_METATYPE(devimax::access::JetVersion)

namespace {

// Reads everything the way the program does; returns the error number (0 = read fine).
int readEverything(std::vector<std::uint8_t> bytes, std::string& message) {
    Error error;
    auto db = Database::fromBytes(bytes, "corrompu.mdb", error);
    if (db) {
        const auto names = db->tableNames(error);
        for (const auto& name : names)
            if (!db->readTable(name, error))
                break;
        if (!db->readTable("Taux", error) && error.number == 0)
            error.number = -1; // a failure without a number is a defect
        if (error.number == 0 || error.number == 3078) {
            Error updateError;
            if (detail::updateImage(bytes, "corrompu.mdb", "Taux", 0,
                                    {{"Nom", "Yen"}, {"Taux", "0,0061"}}, ",", updateError))
                return 0;
            message = updateError.message;
            return updateError.number;
        }
    }
    message = error.message;
    return error.number;
}

} // namespace

class TestAccessFailures : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }

private slots:
    void openErrors_data();
    void openErrors();
    void unreadableFile();
    void truncatedFile_data();
    void truncatedFile();
    void corruptedBytes_data();
    void corruptedBytes();
    void readOnlyFileIsNotUpdated();
    void missingFileIsNotCreated();
};

void TestAccessFailures::openErrors_data() {
    QTest::addColumn<QByteArray>("contents"); // empty name = path is a directory
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("fragment");
    auto patched = [](JetVersion version, std::size_t offset, std::uint8_t value) {
        auto bytes = createDatabase(version, twoRecords());
        bytes[offset] = value;
        return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                          static_cast<qsizetype>(bytes.size()));
    };
    QTest::newRow("empty file") << QByteArray("") << 3343 << "n'est pas une base";
    QTest::newRow("text file") << QByteArray("FFR=6.55957\nUSD=1.1\n") << 3343
                               << "n'est pas une base";
    QTest::newRow("page of zeros") << QByteArray(4096, '\0') << 3343 << "n'est pas une base";
    for (std::uint8_t v : {2, 3, 5, 0xff})
        QTest::addRow("ACE version byte %d", v)
            << patched(JetVersion::Jet4, 0x14, v) << 3343 << "2007";
    // The database key sits in the RC4-obscured block: a non-zero key means encrypted pages.
    auto encrypted = createDatabase(JetVersion::Jet4, twoRecords());
    detail::rc4(detail::kHeaderKey, std::span<std::uint8_t>(&encrypted[0x18], 128));
    encrypted[0x3e] = 0x5a;
    detail::rc4(detail::kHeaderKey, std::span<std::uint8_t>(&encrypted[0x18], 128));
    QTest::newRow("encrypted") << QByteArray(reinterpret_cast<const char*>(encrypted.data()),
                                             static_cast<qsizetype>(encrypted.size()))
                               << 3343 << "chiffrée";
    QTest::newRow("directory") << QByteArray() << 3051 << "accès refusé";
}

void TestAccessFailures::openErrors() {
    QFETCH(QByteArray, contents);
    QFETCH(int, number);
    QFETCH(QString, fragment);
    QString file = path("erreur.mdb");
    QFile::remove(file);
    if (contents.isNull()) {
        file = path("dossier.mdb");
        QVERIFY(QDir().mkpath(file));
    } else {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(contents);
    }
    Error error;
    QVERIFY(!Database::open(file.toStdString(), error));
    QCOMPARE(error.number, number);
    QVERIFY2(QString::fromStdString(error.message).contains(fragment), error.message.c_str());
    QVERIFY(QString::fromStdString(error.message).contains(file));
    // An update refuses the same file without touching it.
    QVERIFY(!updateRecord(file.toStdString(), "Taux", 0, {{"N", "1"}}, ".", error));
    QCOMPARE(error.number, number);
    if (!contents.isNull())
        QCOMPARE(readBytes(file), contents);
}

void TestAccessFailures::unreadableFile() {
    if (::geteuid() == 0)
        QSKIP("running as root: permission bits do not stop reading (the directory case covers "
              "3051)");
    const QString file = path("illisible.mdb");
    QVERIFY(writeBytes(file, createDatabase(JetVersion::Jet4, twoRecords())));
    QVERIFY(QFile::setPermissions(file, QFileDevice::Permissions()));
    Error error;
    QVERIFY(!Database::open(file.toStdString(), error));
    QCOMPARE(error.number, 3051);
    QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
}

void TestAccessFailures::truncatedFile_data() {
    QTest::addColumn<JetVersion>("version");
    QTest::addColumn<int>("length");
    for (auto [v, tag] :
         {std::pair{JetVersion::Jet3, "jet3"}, std::pair{JetVersion::Jet4, "jet4"}}) {
        const int size = static_cast<int>(createDatabase(v, twoRecords()).size());
        const int page = v == JetVersion::Jet3 ? 2048 : 4096;
        for (int length : {1, 0x15, 0x40, page - 1, page, 2 * page, 3 * page - 1, 3 * page,
                           4 * page + 17, size - page, size - 1})
            QTest::addRow("%s cut at %d of %d", tag, length, size) << v << length;
    }
}

void TestAccessFailures::truncatedFile() {
    QFETCH(JetVersion, version);
    QFETCH(int, length);
    auto bytes = createDatabase(version, twoRecords());
    bytes.resize(static_cast<std::size_t>(length));
    std::string message;
    const int number = readEverything(bytes, message);
    // Every page of these small files is in use, so any cut loses something.
    QVERIFY2(number == 3343 || number == 3049, (std::to_string(number) + " " + message).c_str());
    QVERIFY(message.find("corrompu.mdb") != std::string::npos);
}

void TestAccessFailures::corruptedBytes_data() {
    QTest::addColumn<JetVersion>("version");
    QTest::addColumn<int>("seed");
    for (auto [v, tag] : {std::pair{JetVersion::Jet3, "jet3"}, std::pair{JetVersion::Jet4, "jet4"}})
        for (int seed : {1, 2, 3})
            QTest::addRow("%s seed %d", tag, seed) << v << seed;
}

void TestAccessFailures::corruptedBytes() {
    QFETCH(JetVersion, version);
    QFETCH(int, seed);
    const auto original = createDatabase(version, twoRecords());
    // Positions where the structure lives: header, map rows, definitions, row tables and rows.
    const std::size_t page = version == JetVersion::Jet3 ? 2048 : 4096;
    std::vector<std::size_t> hot;
    for (std::size_t p = 0; p < original.size() / page; ++p) {
        for (std::size_t i = 0; i < 200; ++i)
            hot.push_back(p * page + i);
        for (std::size_t i = page - 400; i < page; ++i)
            hot.push_back(p * page + i);
    }
    std::mt19937 random(static_cast<unsigned>(seed));
    std::set<int> numbers;
    int readable = 0;
    QElapsedTimer timer;
    timer.start();
    for (int round = 0; round < 3000; ++round) {
        auto bytes = original;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int k = 0; k < changes; ++k) {
            const std::size_t at = round % 2 ? hot[random() % hot.size()] : random() % bytes.size();
            bytes[at] = static_cast<std::uint8_t>(random());
        }
        std::string message;
        const int number = readEverything(bytes, message);
        if (number == 0) {
            ++readable;
            continue;
        }
        numbers.insert(number);
        QVERIFY2(message.find("corrompu.mdb") != std::string::npos, message.c_str());
    }
    // The damage is seen as such, and harmless damage (free space) still reads.
    const std::set<int> allowed = {3343, 3049, 3078, 3021, 3265, 3047, 3464, 3163, 3113};
    for (int n : numbers)
        QVERIFY2(allowed.count(n), std::to_string(n).c_str());
    QVERIFY(numbers.count(3049));
    QVERIFY(readable > 0);
    QVERIFY(timer.elapsed() < 60000);
}

void TestAccessFailures::readOnlyFileIsNotUpdated() {
    const QString file = path("lecture_seule.mdb");
    QFile::remove(file);
    QVERIFY(writeBytes(file, createDatabase(JetVersion::Jet4, twoRecords())));
    const QByteArray before = readBytes(file);
    // Root ignores permission bits; an immutable file stops it as well.
    const bool root = ::geteuid() == 0;
    if (root) {
        const QString chattr = QStandardPaths::findExecutable("chattr");
        if (chattr.isEmpty() || QProcess::execute(chattr, {"+i", file}) != 0)
            QSKIP("running as root and chattr +i is not available here");
    } else {
        QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner));
    }
    Error error;
    const bool saved = updateRecord(file.toStdString(), "Taux", 0, {{"N", "1"}}, ".", error);
    if (root)
        QProcess::execute(QStandardPaths::findExecutable("chattr"), {"-i", file});
    else
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QVERIFY(!saved);
    QCOMPARE(error.number, 3027);
    QVERIFY(QString::fromStdString(error.message).contains(file));
    QCOMPARE(readBytes(file), before);
    QVERIFY(QDir(dir_.path()).entryList({"*.tmp-*"}, QDir::Files).isEmpty());
}

void TestAccessFailures::missingFileIsNotCreated() {
    const QString file = path("absent.mdb");
    Error error;
    QVERIFY(!Database::open(file.toStdString(), error));
    QCOMPARE(error.number, 3024);
    QVERIFY(!updateRecord(file.toStdString(), "Taux", 0, {{"N", "1"}}, ".", error));
    QCOMPARE(error.number, 3024);
    QVERIFY(!QFile::exists(file));
}

QTEST_GUILESS_MAIN(TestAccessFailures)
#include "tst_access_failures.moc"

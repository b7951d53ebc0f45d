// A save interrupted at any point leaves either the old or the new file, never a
// mixture: failures injected at each step of the atomic replace, and saving
// processes killed with SIGKILL at random moments.
#include "access_test_util.h"
#include "platform/access/access_internal.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace devimax::access;
using namespace devimax::access::testing;
using detail::ReplaceStep;

Q_DECLARE_METATYPE(devimax::access::detail::ReplaceStep)

class TestAccessCrash : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

    QStringList tempFiles() const { return QDir(dir_.path()).entryList({"*.tmp-*"}, QDir::Files); }

private slots:
    void injectedFailure_data();
    void injectedFailure();
    void modeIsKept();
    void killedWhileSaving();
};

void TestAccessCrash::injectedFailure_data() {
    QTest::addColumn<ReplaceStep>("step");
    QTest::addColumn<int>("errorCode");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("fragment");
    QTest::newRow("create temp, I/O") << ReplaceStep::CreateTemp << EIO << 3026 << "entrée-sortie";
    QTest::newRow("create temp, read-only directory")
        << ReplaceStep::CreateTemp << EACCES << 3027 << "lecture seule";
    QTest::newRow("create temp, read-only medium")
        << ReplaceStep::CreateTemp << EROFS << 3027 << "lecture seule";
    QTest::newRow("write, disk full") << ReplaceStep::Write << ENOSPC << 3026 << "disque est plein";
    QTest::newRow("chmod") << ReplaceStep::Chmod << EPERM << 3027 << "lecture seule";
    QTest::newRow("fsync") << ReplaceStep::Sync << EIO << 3026 << "entrée-sortie";
    QTest::newRow("close, quota") << ReplaceStep::Close << EDQUOT << 3026 << "quota";
    QTest::newRow("rename") << ReplaceStep::Rename << EIO << 3026 << "entrée-sortie";
}

void TestAccessCrash::injectedFailure() {
    QFETCH(ReplaceStep, step);
    QFETCH(int, errorCode);
    QFETCH(int, number);
    QFETCH(QString, fragment);
    const QString file = dir_.filePath("taux.mdb");
    QVERIFY(writeBytes(file, createDatabase(JetVersion::Jet4, twoRecords())));
    const QByteArray before = readBytes(file);

    detail::setReplaceFailure(step, errorCode);
    Error error;
    const bool saved =
        updateRecord(file.toStdString(), "Taux", 0, {{"Nom", "Couronne danoise"}}, ".", error);
    detail::setReplaceFailure(ReplaceStep::None);
    QVERIFY(!saved);
    QCOMPARE(error.number, number);
    QVERIFY2(QString::fromStdString(error.message).contains(fragment), error.message.c_str());
    QVERIFY(QString::fromStdString(error.message).contains(file));
    QCOMPARE(readBytes(file), before);
    QCOMPARE(tempFiles(), QStringList());

    // With the fault gone the same save goes through.
    QVERIFY2(updateRecord(file.toStdString(), "Taux", 0, {{"Nom", "Couronne danoise"}}, ".", error),
             error.message.c_str());
    QCOMPARE(readOrFail(file, "Taux").rows.at(0).at(0).text, std::string("Couronne danoise"));
    QCOMPARE(tempFiles(), QStringList());
}

void TestAccessCrash::modeIsKept() {
    const QString file = dir_.filePath("mode.mdb");
    QVERIFY(writeBytes(file, createDatabase(JetVersion::Jet3, twoRecords())));
    QCOMPARE(::chmod(file.toLocal8Bit().constData(), 0640), 0);
    Error error;
    QVERIFY2(updateRecord(file.toStdString(), "Taux", 0, {{"N", "9"}}, ".", error),
             error.message.c_str());
    struct stat st {};
    QCOMPARE(::stat(file.toLocal8Bit().constData(), &st), 0);
    QCOMPARE(st.st_mode & 07777, 0640u);
}

void TestAccessCrash::killedWhileSaving() {
    for (auto version : {JetVersion::Jet3, JetVersion::Jet4}) {
        const QString file = dir_.filePath("tue.mdb");
        const TableSpec design = twoRecords();
        QVERIFY(writeBytes(file, createDatabase(version, design)));
        std::mt19937 random(version == JetVersion::Jet3 ? 3 : 4);
        int seenSaves = 0;
        for (int round = 0; round < 25; ++round) {
            const pid_t child = ::fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                // Each save changes three fields together, text length included.
                // Counting from 1000 keeps clear of the original N (42).
                for (int i = 1000;; ++i) {
                    Error error;
                    const std::string n = std::to_string(i);
                    if (!updateRecord(
                            file.toStdString(), "Taux", 0,
                            {{"Nom", std::string(static_cast<std::size_t>(i % 25), 'x') + "v" + n},
                             {"N", n},
                             {"Taux", n + ".5"}},
                            ".", error))
                        ::_exit(3);
                }
            }
            ::usleep(static_cast<useconds_t>(random() % 30000));
            QCOMPARE(::kill(child, SIGKILL), 0);
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            QVERIFY2(WIFSIGNALED(status), "the saving process stopped on its own (a save failed)");

            const Table table = readOrFail(file, "Taux");
            QCOMPARE(table.rows.size(), std::size_t{2});
            const auto& row = table.rows[0];
            if (row[3].integer == 42) {
                QVERIFY(sameValue(row[0], design.rows[0][0])); // never saved yet
            } else {
                const std::int64_t i = row[3].integer;
                QCOMPARE(row[0].text, std::string(static_cast<std::size_t>(i % 25), 'x') + "v" +
                                          std::to_string(i));
                QCOMPARE(row[1].number, static_cast<double>(i) + 0.5);
                ++seenSaves;
            }
            QVERIFY(sameValue(row[2], design.rows[0][2]));
            for (std::size_t c = 0; c < 4; ++c)
                QVERIFY(sameValue(table.rows[1][c], design.rows[1][c]));
            // A killed save may leave its temporary file: never the real one.
            for (const QString& temp : tempFiles())
                QVERIFY(QFile::remove(dir_.filePath(temp)));
        }
        QVERIFY2(seenSaves > 0, "no save completed before the kills");
    }
}

QTEST_APPLESS_MAIN(TestAccessCrash)
#include "tst_access_crash.moc"

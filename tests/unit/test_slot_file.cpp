// settei.ini against bytes written by the test itself.
#include "core/slot_file.h"
#include "support/fake_services.h"
#include "support/slot_bytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace zavo;
using test::recordBytes;

namespace {

QString nul(int n) {
    return QString(n, QChar(0));
}
QString blanks(int n) {
    return QString(n, QChar(u' '));
}
const QChar kBad(0xFFFD);

// C:\Program Files\テスト\  and  ソフト.exe  in code page 932.
const QByteArray kJapaneseDir =
    QByteArray::fromHex("433a5c50726f6772616d2046696c65735c8365835883675c");
const QByteArray kJapaneseExe = QByteArray::fromHex("835c837483672e657865");

constexpr qsizetype kMiB = 1 << 20;

core::SlotRecord assigned(const QString& dir, const QString& exe) {
    core::SlotRecord r;
    r.assign_dir_path(dir.toStdU16String());
    r.assign_exe_name(exe.toStdU16String());
    return r;
}

} // namespace

class TestSlotFile : public QObject {
    Q_OBJECT
private slots:
    void readsRecordsAsStored_data();
    void readsRecordsAsStored();
    void writesRecordBytes_data();
    void writesRecordBytes();
    void writeLeavesOtherRecordsAlone_data();
    void writeLeavesOtherRecordsAlone();
    void writingRecord3ToEmptyFileLeavesRecords1And2Zero();
    void refusesRecordNumbersOutsideOneToThree_data();
    void refusesRecordNumbersOutsideOneToThree();
    void assignFitsFieldsToTheirWidth_data();
    void assignFitsFieldsToTheirWidth();
    void openCreatesMissingFile();
    void openFailsOnAFolder();
    void readOnlyFileStillReads();
    void closingAClosedFileDoesNothing();
};

void TestSlotFile::readsRecordsAsStored_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("record");
    QTest::addColumn<bool>("registered");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("commandLine");

    const QByteArray win("C:\\WINDOWS\\");
    const QString winText("C:\\WINDOWS\\");

    for (int n = 1; n <= 3; ++n)
        QTest::addRow("never written (empty file), record %d", n)
            << QByteArray() << n << false << nul(10) << nul(100);

    const QByteArray only3 = QByteArray(400, '\0') + recordBytes("C:\\TOOLS\\", "grep.exe");
    QTest::newRow("only record 3 written: record 1") << only3 << 1 << false << nul(10) << nul(100);
    QTest::newRow("only record 3 written: record 2") << only3 << 2 << false << nul(10) << nul(100);
    QTest::newRow("only record 3 written: record 3") << only3 << 3 << true << "grep.exe  "
                                                     << "C:\\TOOLS\\grep.exe";

    const QByteArray reset = recordBytes("", "").repeated(3);
    QTest::newRow("reset: record 1") << reset << 1 << false << blanks(10) << QString();
    QTest::newRow("reset: record 3") << reset << 3 << false << blanks(10) << QString();

    QTest::newRow("eight characters keep their padding")
        << recordBytes(win, "calc.exe") << 1 << true << "calc.exe  " << winText + "calc.exe";
    QTest::newRow("ten characters")
        << recordBytes(win, "abcdef.exe") << 1 << true << "abcdef.exe" << winText + "abcdef.exe";
    QTest::newRow("eleven characters")
        << recordBytes(win, "notepad.exe") << 1 << true << "notepad.ex" << winText + "notepad.exe";
    QTest::newRow("twenty-six characters, stored cut to 20")
        << recordBytes(win, "abcdefghijklmnopqrstuvwxyz.exe") << 1 << true << "abcdefghij"
        << winText + "abcdefghijklmnopqrst";
    QTest::newRow("blank first character, name within ten")
        << recordBytes(win, " calc.exe") << 1 << true << " calc.exe " << winText + " calc.exe";
    QTest::newRow("ten blanks, then characters")
        << recordBytes(win, "          x.exe") << 1 << false << blanks(10)
        << winText + blanks(10) + "x.exe";
    QTest::newRow("NUL first, then a name")
        << recordBytes(win, QByteArray("\0calc.exe", 9)) << 1 << false << nul(1) + "calc.exe "
        << winText + nul(1) + "calc.exe";
    QTest::newRow("folder and no file name")
        << recordBytes(win, "") << 1 << false << blanks(10) << winText;
    QTest::newRow("record 2 among three")
        << recordBytes("A\\", "a.exe") + recordBytes("B\\", "b.exe") + recordBytes("C\\", "c.exe")
        << 2 << true << "b.exe     "
        << "B\\b.exe";

    QTest::newRow("code page 932 path, 0x5C second bytes")
        << recordBytes(kJapaneseDir, kJapaneseExe) << 1 << true << QStringLiteral("ソフト.exe   ")
        << QStringLiteral("C:\\Program Files\\テスト\\ソフト.exe");
    QTest::newRow("表 in the folder")
        << recordBytes(QByteArray::fromHex("433a5c955c5c"), "a.exe") << 1 << true << "a.exe     "
        << QStringLiteral("C:\\表\\a.exe");
    QTest::newRow("full-width name")
        << recordBytes("", QByteArray::fromHex("8250814696a2936f985e")) << 1 << true
        << QStringLiteral("１：未登録") + blanks(5) << QStringLiteral("１：未登録");

    QTest::newRow("invalid bytes FF 80 A0 FD")
        << recordBytes(win, QByteArray::fromHex("ff80a0fd2e657865")) << 1 << true
        << QString(4, kBad) + ".exe  " << winText + QString(4, kBad) + ".exe";
    QTest::newRow("invalid pair 81 20")
        << recordBytes(win, QByteArray::fromHex("8120612e657865")) << 1 << true
        << QString(kBad) + " a.exe   " << winText + kBad + " a.exe";
    QTest::newRow("lone lead byte at the end of exe_name")
        << recordBytes(win, QByteArray("abcdefghijklmnopqrs\x81")) << 1 << true << "abcdefghij"
        << winText + "abcdefghijklmnopqrs" + kBad;
    // The lead byte must not swallow the first byte of the next field.
    QTest::newRow("lone lead byte at the end of dir_path")
        << recordBytes(QByteArray(79, 'a') + '\x81', "@x.exe") << 1 << true << "@x.exe    "
        << QString(79, u'a') + kBad + "@x.exe";

    QTest::newRow("50-byte file: record 1")
        << QByteArray(50, 'A') << 1 << false << nul(10) << QString(50, u'A') + nul(50);
    QTest::newRow("50-byte file: record 2")
        << QByteArray(50, 'A') << 2 << false << nul(10) << nul(100);
    QTest::newRow("file ends inside exe_name") << recordBytes("C:\\", "notepad.exe").left(85) << 1
                                               << true << "notep" + nul(5) << "C:\\notep" + nul(15);
    QTest::newRow("1 MiB of FF") << QByteArray(kMiB, '\xff') << 2 << true << QString(10, kBad)
                                 << QString(100, kBad);
    QTest::newRow("1 MiB file: record 3")
        << (recordBytes("A\\", "a.exe") + recordBytes("B\\", "b.exe") + recordBytes("C\\", "c.exe"))
               .leftJustified(kMiB, '\x7f')
        << 3 << true << "c.exe     "
        << "C\\c.exe";
}

void TestSlotFile::readsRecordsAsStored() {
    QFETCH(QByteArray, file);
    QFETCH(int, record);
    QFETCH(bool, registered);
    QFETCH(QString, caption);
    QFETCH(QString, commandLine);

    QTemporaryDir dir;
    const QString path = dir.filePath("settei.ini");
    test::writeFile(path, file);
    test::FakeServices services;
    core::SlotFile settei(services, path.toStdString());
    QVERIFY(settei.open());
    core::SlotRecord r;
    QVERIFY(settei.read_record(record, r));
    settei.close();
    QCOMPARE(r.dir_path.size(), core::kDirPathWidth);
    QCOMPARE(r.exe_name.size(), core::kExeNameWidth);
    QCOMPARE(core::slot_registered(r), registered);
    QCOMPARE(QString::fromStdU16String(core::slot_caption(r)), caption);
    QCOMPARE(QString::fromStdU16String(core::slot_command_line(r)), commandLine);
    QCOMPARE(test::readFile(path), file); // reading never changes the file
}

void TestSlotFile::writesRecordBytes_data() {
    QTest::addColumn<int>("record");
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("exe");
    QTest::addColumn<QByteArray>("data"); // the 100 data bytes expected on disk
    QTest::addColumn<QString>("dirBack"); // what reading the record gives back
    QTest::addColumn<QString>("exeBack");

    QTest::newRow("record 1") << 1 << "C:\\WINDOWS\\"
                              << "notepad.exe"
                              << recordBytes("C:\\WINDOWS\\", "notepad.exe").left(100)
                              << "C:\\WINDOWS\\" + blanks(69) << "notepad.exe" + blanks(9);
    QTest::newRow("record 2") << 2 << "D:\\"
                              << "a.exe" << recordBytes("D:\\", "a.exe").left(100)
                              << "D:\\" + blanks(77) << "a.exe" + blanks(15);
    QTest::newRow("reset buffer") << 3 << blanks(80) << blanks(20) << QByteArray(100, ' ')
                                  << blanks(80) << blanks(20);
    QTest::newRow("0x5C stays a backslash")
        << 1 << QStringLiteral("C:\\Program Files\\テスト\\") << QStringLiteral("ソフト.exe")
        << recordBytes(kJapaneseDir, kJapaneseExe).left(100)
        << QStringLiteral("C:\\Program Files\\テスト\\") + blanks(59)
        << QStringLiteral("ソフト.exe") + blanks(13);
    QTest::newRow("full-width name")
        << 1 << QString() << QStringLiteral("１：未登録")
        << recordBytes("", QByteArray::fromHex("8250814696a2936f985e")).left(100) << blanks(80)
        << QStringLiteral("１：未登録") + blanks(15);
    QTest::newRow("41 表 in dir_path: cut to 40 characters, 80 bytes")
        << 1 << QString(41, u'表') << "a.exe"
        << QByteArray::fromHex("955c").repeated(40) + QByteArray("a.exe").leftJustified(20, ' ')
        << QString(40, u'表') + blanks(40) << "a.exe" + blanks(15);
    QTest::newRow("11 表 in exe_name: cut to 10 characters, 20 bytes")
        << 1 << "C:\\" << QString(11, u'表')
        << recordBytes("C:\\", QByteArray::fromHex("955c").repeated(10)).left(100)
        << "C:\\" + blanks(77) << QString(10, u'表') + blanks(10);
    QTest::newRow("a and 10 表 in exe_name: 19 bytes and a blank")
        << 1 << "C:\\"
        << "a" + QString(10, u'表')
        << recordBytes("C:\\", "a" + QByteArray::fromHex("955c").repeated(9)).left(100)
        << "C:\\" + blanks(77) << "a" + QString(9, u'表') + blanks(10);
    QTest::newRow("21-character name stored cut to 20")
        << 1 << "C:\\"
        << "abcdefghijklmnopqrstu" << recordBytes("C:\\", "abcdefghijklmnopqrst").left(100)
        << "C:\\" + blanks(77) << "abcdefghijklmnopqrst";
    QTest::newRow("81-character folder stored cut to 80")
        << 1 << QString(81, u'd') << "a.exe" << recordBytes(QByteArray(80, 'd'), "a.exe").left(100)
        << QString(80, u'd') << "a.exe" + blanks(15);
    QTest::newRow("character without a code page 932 form")
        << 1 << "C:\\" << QStringLiteral("é.exe") << recordBytes("C:\\", "?.exe").left(100)
        << "C:\\" + blanks(77) << "?.exe" + blanks(15);
    QTest::newRow("yen sign never becomes a folder separator")
        << 1 << QStringLiteral("C:\\a¥b\\") << "x.exe"
        << recordBytes("C:\\a?b\\", "x.exe").left(100) << "C:\\a?b\\" + blanks(73)
        << "x.exe" + blanks(15);
}

void TestSlotFile::writesRecordBytes() {
    QFETCH(int, record);
    QFETCH(QString, dir);
    QFETCH(QString, exe);
    QFETCH(QByteArray, data);
    QFETCH(QString, dirBack);
    QFETCH(QString, exeBack);

    QTemporaryDir tmp;
    const QString path = tmp.filePath("settei.ini");
    test::FakeServices services;
    core::SlotFile settei(services, path.toStdString());
    QVERIFY(settei.open());
    QVERIFY(settei.write_record(record, assigned(dir, exe)));
    settei.close();

    const QByteArray file = test::readFile(path);
    QCOMPARE(file.size(), record * 200);
    QCOMPARE(file.left((record - 1) * 200), QByteArray((record - 1) * 200, '\0'));
    QCOMPARE(file.mid((record - 1) * 200, 100), data);
    QCOMPARE(file.mid((record - 1) * 200 + 100), QByteArray(100, '\0')); // padding

    QVERIFY(settei.open());
    core::SlotRecord back;
    QVERIFY(settei.read_record(record, back));
    settei.close();
    QCOMPARE(QString::fromStdU16String(back.dir_path), dirBack);
    QCOMPARE(QString::fromStdU16String(back.exe_name), exeBack);
}

void TestSlotFile::writeLeavesOtherRecordsAlone_data() {
    QTest::addColumn<qsizetype>("size");
    QTest::addColumn<int>("record");
    QTest::newRow("600 bytes, record 1") << qsizetype(600) << 1;
    QTest::newRow("600 bytes, record 2") << qsizetype(600) << 2;
    QTest::newRow("600 bytes, record 3") << qsizetype(600) << 3;
    QTest::newRow("250 bytes, record 2") << qsizetype(250) << 2;
    QTest::newRow("1 MiB, record 2") << kMiB << 2;
}

void TestSlotFile::writeLeavesOtherRecordsAlone() {
    QFETCH(qsizetype, size);
    QFETCH(int, record);
    QTemporaryDir tmp;
    const QString path = tmp.filePath("settei.ini");
    const QByteArray before(size, '\xee');
    test::writeFile(path, before);

    test::FakeServices services;
    core::SlotFile settei(services, path.toStdString());
    QVERIFY(settei.open());
    QVERIFY(settei.write_record(record, assigned("C:\\", "b.exe")));
    settei.close();

    const qsizetype at = (record - 1) * 200;
    QByteArray expected = before.leftJustified(std::max(size, at + 200), '\0');
    expected.replace(at, 200, recordBytes("C:\\", "b.exe"));
    QCOMPARE(test::readFile(path), expected);
}

void TestSlotFile::writingRecord3ToEmptyFileLeavesRecords1And2Zero() {
    QTemporaryDir tmp;
    const QString path = tmp.filePath("settei.ini");
    test::FakeServices services;
    core::SlotFile settei(services, path.toStdString());
    QVERIFY(settei.open());
    QCOMPARE(QFileInfo(path).size(), 0);
    QVERIFY(settei.write_record(3, assigned("C:\\TOOLS\\", "grep.exe")));
    settei.close();

    QCOMPARE(test::readFile(path), QByteArray(400, '\0') + recordBytes("C:\\TOOLS\\", "grep.exe"));

    QVERIFY(settei.open());
    for (int n = 1; n <= 2; ++n) {
        core::SlotRecord r = assigned("stale", "stale.exe"); // the buffer is overwritten
        QVERIFY(settei.read_record(n, r));
        QCOMPARE(QString::fromStdU16String(r.dir_path), nul(80));
        QCOMPARE(QString::fromStdU16String(r.exe_name), nul(20));
        QVERIFY(!core::slot_registered(r));
    }
    settei.close();
}

void TestSlotFile::refusesRecordNumbersOutsideOneToThree_data() {
    QTest::addColumn<int>("record");
    QTest::newRow("0 (no slot chosen)") << 0;
    QTest::newRow("4") << 4;
    QTest::newRow("-1") << -1;
}

void TestSlotFile::refusesRecordNumbersOutsideOneToThree() {
    QFETCH(int, record);
    QTemporaryDir tmp;
    const QString path = tmp.filePath("settei.ini");
    const QByteArray before = recordBytes("A\\", "a.exe").repeated(3);
    test::writeFile(path, before);

    test::FakeServices services;
    core::SlotFile settei(services, path.toStdString());
    QVERIFY(settei.open());
    QVERIFY(!settei.write_record(record, assigned("C:\\", "evil.exe")));
    QVERIFY(!settei.last_error().empty());
    core::SlotRecord r = assigned("keep\\", "keep.exe");
    QVERIFY(!settei.read_record(record, r));
    QCOMPARE(QString::fromStdU16String(r.exe_name), "keep.exe" + blanks(12));
    QVERIFY(settei.is_open()); // a refused record number does not close the file
    settei.close();
    QCOMPARE(test::readFile(path), before);
}

void TestSlotFile::assignFitsFieldsToTheirWidth_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("exe");
    QTest::newRow("empty") << QString() << blanks(80) << blanks(20);
    QTest::newRow("short") << "ab"
                           << "ab" + blanks(78) << "ab" + blanks(18);
    QTest::newRow("100 characters") << QString(100, u'x') << QString(80, u'x') << QString(20, u'x');
    QTest::newRow("double-byte characters count as one")
        << QString(30, u'表') << QString(30, u'表') + blanks(50) << QString(20, u'表');
}

void TestSlotFile::assignFitsFieldsToTheirWidth() {
    QFETCH(QString, text);
    QFETCH(QString, dir);
    QFETCH(QString, exe);
    const core::SlotRecord r = assigned(text, text);
    QCOMPARE(QString::fromStdU16String(r.dir_path), dir);
    QCOMPARE(QString::fromStdU16String(r.exe_name), exe);
}

void TestSlotFile::openCreatesMissingFile() {
    QTemporaryDir tmp;
    const QString path = tmp.filePath("settei.ini");
    QVERIFY(!QFileInfo::exists(path));
    test::FakeServices services;
    core::SlotFile settei(services, path.toStdString());
    QVERIFY(settei.open());
    QVERIFY(settei.is_open());
    settei.close();
    QVERIFY(QFileInfo(path).isFile());
    QCOMPARE(QFileInfo(path).size(), 0);
}

void TestSlotFile::openFailsOnAFolder() {
    QTemporaryDir tmp;
    const QString path = tmp.filePath("settei.ini");
    QVERIFY(QDir(tmp.path()).mkdir("settei.ini"));
    test::FakeServices services;
    core::SlotFile settei(services, path.toStdString());
    QVERIFY(!settei.open());
    QVERIFY(!settei.is_open());
    QVERIFY(!settei.last_error().empty());
    core::SlotRecord r;
    QVERIFY(!settei.read_record(1, r));
    QVERIFY(!settei.write_record(1, assigned("C:\\", "a.exe")));
    settei.close();
    QVERIFY(QFileInfo(path).isDir());
}

void TestSlotFile::readOnlyFileStillReads() {
    QTemporaryDir tmp;
    const QString path = tmp.filePath("settei.ini");
    const QByteArray before = recordBytes("C:\\", "calc.exe");
    test::writeFile(path, before);
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));

    test::FakeServices services;
    core::SlotFile settei(services, path.toStdString());
    QVERIFY(settei.open());
    core::SlotRecord r;
    QVERIFY(settei.read_record(1, r));
    QCOMPARE(QString::fromStdU16String(core::slot_caption(r)), "calc.exe  ");
    // root may write a 0444 file anyway; anyone else gets a clean refusal.
    if (::geteuid() != 0) {
        QVERIFY(!settei.write_record(1, assigned("C:\\", "other.exe")));
        QCOMPARE(test::readFile(path), before);
    }
    settei.close();
}

void TestSlotFile::closingAClosedFileDoesNothing() {
    QTemporaryDir tmp;
    const QString path = tmp.filePath("settei.ini");
    test::FakeServices services;
    core::SlotFile settei(services, path.toStdString());
    settei.close(); // never opened
    QVERIFY(!settei.is_open());
    QVERIFY(settei.open());
    settei.close();
    settei.close();
    QVERIFY(!settei.is_open());
    core::SlotRecord r;
    QVERIFY(!settei.read_record(1, r)); // closed means closed
    QVERIFY(settei.open());
    QVERIFY(settei.read_record(1, r));
    settei.close();
}

QTEST_GUILESS_MAIN(TestSlotFile)
#include "test_slot_file.moc"

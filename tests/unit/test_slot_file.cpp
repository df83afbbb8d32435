// settei.ini against bytes written by the test itself.
#include "core/slot_file.h"
#include "support/fake_services.h"
#include "support/slot_bytes.h"

#include <QTemporaryDir>
#include <QTest>

using namespace zavo;
using test::recordBytes;

class TestSlotFile : public QObject {
    Q_OBJECT
private slots:
    void readsRecordsAsStored_data();
    void readsRecordsAsStored();
};

void TestSlotFile::readsRecordsAsStored_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("record");
    QTest::addColumn<bool>("registered");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("commandLine");

    QTest::newRow("never written (empty file)")
        << QByteArray() << 1 << false << QString(10, QChar(0)) << QString(100, QChar(0));
    QTest::newRow("eleven characters")
        << recordBytes("C:\\WINDOWS\\", "notepad.exe") << 1 << true << "notepad.ex"
        << "C:\\WINDOWS\\notepad.exe";
    QTest::newRow("eight characters keep their padding")
        << recordBytes("C:\\WINDOWS\\", "calc.exe") << 1 << true << "calc.exe  "
        << "C:\\WINDOWS\\calc.exe";
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
    QCOMPARE(core::slot_registered(r), registered);
    QCOMPARE(QString::fromStdU16String(core::slot_caption(r)), caption);
    QCOMPARE(QString::fromStdU16String(core::slot_command_line(r)), commandLine);
}

QTEST_GUILESS_MAIN(TestSlotFile)
#include "test_slot_file.moc"

// The program icon as the Windows resource compiler takes it: two classic
// 16-colour images (32x32 and 16x16), each a BITMAPINFOHEADER with the height
// doubled, the standard VGA palette, a 4-bit XOR bitmap and a 1-bit AND mask,
// rows padded to 4 bytes; a white, grey and black drawing.
#include <QFile>
#include <QTest>
#include <QtEndian>

#include <set>

namespace {

constexpr int kDirHeader = 6, kDirEntry = 16, kInfoHeader = 40;

// Blue, green, red, reserved: the 16 colours in their standard order.
const quint8 kVga[16][4] = {
    {0, 0, 0, 0},       {0, 0, 128, 0},   {0, 128, 0, 0},   {0, 128, 128, 0},
    {128, 0, 0, 0},     {128, 0, 128, 0}, {128, 128, 0, 0}, {128, 128, 128, 0},
    {192, 192, 192, 0}, {0, 0, 255, 0},   {0, 255, 0, 0},   {0, 255, 255, 0},
    {255, 0, 0, 0},     {255, 0, 255, 0}, {255, 255, 0, 0}, {255, 255, 255, 0},
};
// Black, grey, silver, white.
const std::set<int> kGreys = {0, 7, 8, 15};

int stride(int width, int bits) {
    return (width * bits + 31) / 32 * 4;
}

} // namespace

class TestIconFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        const QString path = QFINDTESTDATA("../../resources/zavo_launcher.ico");
        QFile f(path);
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(path));
        ico_ = f.readAll();
        QVERIFY(ico_.size() >= kDirHeader + 2 * kDirEntry);
    }

    void directory() {
        QCOMPARE(u16(0), 0); // reserved
        QCOMPARE(u16(2), 1); // icon, not cursor
        QCOMPARE(u16(4), 2);
        // The images follow the directory back to back and fill the file.
        qsizetype end = kDirHeader + 2 * kDirEntry;
        for (int i = 0; i < 2; ++i) {
            const int e = kDirHeader + i * kDirEntry;
            QCOMPARE(qsizetype(u32(e + 12)), end);
            end += u32(e + 8);
        }
        QCOMPARE(end, ico_.size());
    }

    void image_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("size");
        QTest::newRow("32x32") << 0 << 32;
        QTest::newRow("16x16") << 1 << 16;
    }

    void image() {
        QFETCH(int, entry);
        QFETCH(int, size);
        const int e = kDirHeader + entry * kDirEntry;
        QCOMPARE(u8(e), size);     // width
        QCOMPARE(u8(e + 1), size); // height
        QCOMPARE(u8(e + 2), 16);   // colour count
        QCOMPARE(u8(e + 3), 0);    // reserved
        QCOMPARE(u16(e + 4), 1);   // planes
        QCOMPARE(u16(e + 6), 4);   // bit count
        const qsizetype at = u32(e + 12);
        const int xorBytes = stride(size, 4) * size, andBytes = stride(size, 1) * size;
        QCOMPARE(qsizetype(u32(e + 8)), kInfoHeader + 16 * 4 + xorBytes + andBytes);

        QCOMPARE(u32(at), quint32(kInfoHeader));
        QCOMPARE(qint32(u32(at + 4)), size);
        QCOMPARE(qint32(u32(at + 8)), 2 * size); // XOR bitmap and AND mask
        QCOMPARE(u16(at + 12), 1);               // planes
        QCOMPARE(u16(at + 14), 4);               // bits per pixel
        QCOMPARE(u32(at + 16), 0u);              // BI_RGB, uncompressed
        const quint32 used = u32(at + 32);
        QVERIFY2(used == 0 || used == 16, qPrintable(QString::number(used)));

        const qsizetype palette = at + kInfoHeader;
        for (int i = 0; i < 16; ++i)
            for (int c = 0; c < 4; ++c)
                QCOMPARE(u8(palette + 4 * i + c), kVga[i][c]);

        const qsizetype pixels = palette + 16 * 4;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const quint8 byte = u8(pixels + y * stride(size, 4) + x / 2);
                const int index = x % 2 == 0 ? byte >> 4 : byte & 0x0F;
                QVERIFY2(kGreys.count(index),
                         qPrintable(QStringLiteral("colour %1 at %2,%3").arg(index).arg(x).arg(y)));
            }
    }

private:
    QByteArray ico_;
    quint16 u16(qsizetype at) const { return qFromLittleEndian<quint16>(ico_.constData() + at); }
    quint32 u32(qsizetype at) const { return qFromLittleEndian<quint32>(ico_.constData() + at); }
    quint8 u8(qsizetype at) const { return static_cast<quint8>(ico_.at(at)); }
};

QTEST_GUILESS_MAIN(TestIconFile)
#include "test_icon_file.moc"

// Code page 932 <-> UTF-16 against byte sequences spelled out here.
#include "core/cp932.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <QString>
#include <QTest>

#include <optional>
#include <vector>

using namespace zavo::core;

namespace {

std::vector<std::byte> bytesOf(const QByteArray& a) {
    std::vector<std::byte> v(static_cast<std::size_t>(a.size()));
    for (qsizetype i = 0; i < a.size(); ++i)
        v[static_cast<std::size_t>(i)] = static_cast<std::byte>(a[i]);
    return v;
}

QByteArray arrayOf(const std::vector<std::byte>& v) {
    return QByteArray(reinterpret_cast<const char*>(v.data()), qsizetype(v.size()));
}

QString decoded(const QByteArray& a) {
    return QString::fromStdU16String(cp932::decode(bytesOf(a)));
}

const QChar kBad(0xFFFD);

} // namespace

class TestCp932 : public QObject {
    Q_OBJECT
private slots:
    void decodesValidText_data();
    void decodesValidText();
    void encodesValidText_data();
    void encodesValidText();
    void decodesInvalidBytesToReplacement_data();
    void decodesInvalidBytesToReplacement();
    void refusesCharactersWithoutAnExactForm_data();
    void refusesCharactersWithoutAnExactForm();
    void fitsAtACharacterBoundary_data();
    void fitsAtACharacterBoundary();
    void decodesEveryTwoByteSequence();
    void decodesAMebibyteOfNoise();
};

// Rows shared by both directions: text and its code page 932 form.
static void validRows() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("ascii") << QByteArray("calc.exe") << QStringLiteral("calc.exe");
    QTest::newRow("0x5C is the backslash") << QByteArray("C:\\") << QStringLiteral("C:\\");
    QTest::newRow("0x7E is the tilde") << QByteArray("a~1") << QStringLiteral("a~1");
    QTest::newRow("表 has 0x5C as second byte")
        << QByteArray::fromHex("955c") << QStringLiteral("表");
    QTest::newRow("ソ has 0x5C as second byte")
        << QByteArray::fromHex("835c83748367") << QStringLiteral("ソフト");
    QTest::newRow("half-width katakana") << QByteArray::fromHex("b1") << QStringLiteral("ｱ");
    QTest::newRow("unregistered caption")
        << QByteArray::fromHex("8250814696a2936f985e") << QStringLiteral("１：未登録");
    QTest::newRow("full path") << QByteArray::fromHex(
                                      "433a5c50726f6772616d2046696c65735c836583588367"
                                      "5c835c837483672e657865")
                               << QStringLiteral("C:\\Program Files\\テスト\\ソフト.exe");
    QTest::newRow("NEC row 13") << QByteArray::fromHex("8740") << QStringLiteral("①");
    QTest::newRow("IBM extension") << QByteArray::fromHex("fa5c") << QStringLiteral("纊");
    QTest::newRow("user-defined area") << QByteArray::fromHex("f040") << QString(QChar(0xE000));
    QTest::newRow("NUL") << QByteArray(3, '\0') << QString(3, QChar(0));
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestCp932::decodesValidText_data() {
    validRows();
}

void TestCp932::decodesValidText() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(decoded(bytes), text);
}

void TestCp932::encodesValidText_data() {
    validRows();
}

void TestCp932::encodesValidText() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const auto encoded = cp932::encode(text.toStdU16String());
    QVERIFY(encoded.has_value());
    QCOMPARE(arrayOf(*encoded), bytes);
}

void TestCp932::decodesInvalidBytesToReplacement_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("FF") << QByteArray::fromHex("ff") << QString(kBad);
    QTest::newRow("80") << QByteArray::fromHex("80") << QString(kBad);
    QTest::newRow("A0") << QByteArray::fromHex("a0") << QString(kBad);
    QTest::newRow("FD") << QByteArray::fromHex("fd") << QString(kBad);
    QTest::newRow("81 20: bad trail byte is kept")
        << QByteArray::fromHex("8120") << QString(kBad) + u' ';
    QTest::newRow("81 7F: bad trail byte is kept")
        << QByteArray::fromHex("817f") << QString(kBad) + QChar(0x7F);
    QTest::newRow("lone lead byte at the end")
        << QByteArray("ab\x81") << QStringLiteral("ab") + kBad;
    QTest::newRow("only a lead byte") << QByteArray::fromHex("95") << QString(kBad);
    // The NEC-selected duplicate reads as the same character (written as FA 5C).
    QTest::newRow("NEC-selected IBM extension")
        << QByteArray::fromHex("ed40") << QStringLiteral("纊");
    QTest::newRow("stray bytes amid text")
        << QByteArray::fromHex("61ff62955c63fdfd")
        << QStringLiteral("a") + kBad + QStringLiteral("b表c") + kBad + kBad;
    QTest::newRow("after a bad byte decoding resumes")
        << QByteArray::fromHex("80"
                               "8250814696a2936f985e")
        << QString(kBad) + QStringLiteral("１：未登録");
}

void TestCp932::decodesInvalidBytesToReplacement() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(decoded(bytes), text);
}

void TestCp932::refusesCharactersWithoutAnExactForm_data() {
    QTest::addColumn<QString>("text");

    QTest::newRow("é") << QStringLiteral("é");
    // A yen sign or overline turned into 0x5C or 0x7E would read back as a
    // backslash or tilde, that is a different path.
    QTest::newRow("yen sign") << QStringLiteral("C:\\a¥b\\");
    QTest::newRow("overline") << QStringLiteral("‾");
    QTest::newRow("emoji (surrogate pair)") << QStringLiteral("a😀b");
    QTest::newRow("lone high surrogate") << QString(QChar(0xD800));
    QTest::newRow("lone low surrogate") << QStringLiteral("a") + QChar(0xDC00);
}

void TestCp932::refusesCharactersWithoutAnExactForm() {
    QFETCH(QString, text);
    QVERIFY(!cp932::encode(text.toStdU16String()).has_value());
}

void TestCp932::fitsAtACharacterBoundary_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("41 表 in 80 bytes")
        << QString(41, QChar(u'表')) << 80 << QByteArray::fromHex("955c").repeated(40);
    QTest::newRow("double-byte character does not fit the last byte")
        << QStringLiteral("a表") << 2 << QByteArray("a");
    QTest::newRow("exact fit") << QStringLiteral("表表") << 4 << QByteArray::fromHex("955c955c");
    QTest::newRow("a and 10 表 in 20 bytes")
        << QStringLiteral("a") + QString(10, QChar(u'表')) << 20
        << QByteArray("a") + QByteArray::fromHex("955c").repeated(9);
    QTest::newRow("ascii cut") << QStringLiteral("abcdefghijklmnopqrstu") << 20
                               << QByteArray("abcdefghijklmnopqrst");
    QTest::newRow("no form becomes ?") << QStringLiteral("é.exe") << 20 << QByteArray("?.exe");
    QTest::newRow("yen sign becomes ?, never a backslash")
        << QStringLiteral("a¥b") << 20 << QByteArray("a?b");
    QTest::newRow("surrogate pair becomes one ?")
        << QStringLiteral("a😀b") << 20 << QByteArray("a?b");
    QTest::newRow("width 0") << QStringLiteral("abc") << 0 << QByteArray();
    QTest::newRow("empty") << QString() << 20 << QByteArray();
}

void TestCp932::fitsAtACharacterBoundary() {
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QByteArray, bytes);
    const QByteArray got =
        arrayOf(cp932::encodeFitting(text.toStdU16String(), static_cast<std::size_t>(width)));
    QCOMPARE(got, bytes);
    // Whatever was cut, the result decodes without a replacement character.
    QVERIFY(!decoded(got).contains(kBad));
}

void TestCp932::decodesEveryTwoByteSequence() {
    // Each pair decodes to one or two characters, never more than its bytes.
    for (int lead = 0; lead < 256; ++lead) {
        for (int trail = 0; trail < 256; ++trail) {
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            const QString s = decoded(QByteArray(pair, 2));
            if (s.size() < 1 || s.size() > 2)
                QFAIL(qPrintable(QStringLiteral("%1 %2 decoded to %3 characters")
                                     .arg(lead, 2, 16, QChar(u'0'))
                                     .arg(trail, 2, 16, QChar(u'0'))
                                     .arg(s.size())));
        }
    }
}

void TestCp932::decodesAMebibyteOfNoise() {
    QByteArray noise(1 << 20, Qt::Uninitialized);
    QRandomGenerator rng(20001103);
    for (char& c : noise)
        c = static_cast<char>(rng.bounded(256));
    const QString s = decoded(noise);
    QVERIFY(!s.isEmpty());
    QVERIFY(s.size() <= noise.size());
    // Bytes that decode as single characters are never lost in the noise.
    const QString tail = decoded(noise + QByteArray("\xff"
                                                    "calc.exe"));
    QVERIFY(tail.endsWith(QStringLiteral("calc.exe")));
}

QTEST_GUILESS_MAIN(TestCp932)
#include "test_cp932.moc"

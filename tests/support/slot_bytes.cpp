#include "slot_bytes.h"

#include <QFile>
#include <QTest>

namespace zavo::test {

QByteArray recordBytes(const QByteArray& dir, const QByteArray& exe) {
    QByteArray r = dir.left(80).leftJustified(80, ' ');
    r += exe.left(20).leftJustified(20, ' ');
    r += QByteArray(100, '\0');
    return r;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        QFAIL(qPrintable(QStringLiteral("cannot write ") + path));
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace zavo::test

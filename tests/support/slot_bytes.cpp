#include "slot_bytes.h"

#include "scratch_folder.h"
#include "settei_bytes.h"

#include <QTest>

#include <stdexcept>

namespace zavo::test {

QByteArray recordBytes(const QByteArray& dir, const QByteArray& exe) {
    return QByteArray::fromStdString(recordBytes(dir.toStdString(), exe.toStdString()));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    try {
        writeFile(path.toStdString(), bytes.toStdString());
    } catch (const std::runtime_error& e) {
        QFAIL(e.what());
    }
}

QByteArray readFile(const QString& path) {
    return QByteArray::fromStdString(readFile(path.toStdString()));
}

} // namespace zavo::test

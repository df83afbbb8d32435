#include "slot_bytes.h"

#include "scratch_folder.h"
#include "settei_bytes.h"

#include <QTest>

#include <stdexcept>

namespace zavo::test {
namespace {

std::string bytesOf(const QByteArray& a) {
    return std::string(a.constData(), std::size_t(a.size()));
}
QByteArray arrayOf(const std::string& s) {
    return QByteArray(s.data(), qsizetype(s.size()));
}

} // namespace

QByteArray recordBytes(const QByteArray& dir, const QByteArray& exe) {
    return arrayOf(recordBytes(bytesOf(dir), bytesOf(exe)));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    try {
        writeFile(path.toStdString(), bytesOf(bytes));
    } catch (const std::runtime_error& e) {
        QFAIL(e.what());
    }
}

QByteArray readFile(const QString& path) {
    return arrayOf(readFile(path.toStdString()));
}

} // namespace zavo::test

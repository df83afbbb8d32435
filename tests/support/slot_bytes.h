// settei.ini bytes spelled out by the tests themselves, independent of the
// program's own writer.
#pragma once

#include <QByteArray>
#include <QString>

namespace zavo::test {

// One 200-byte record: `dir` and `exe` are raw code-page-932 bytes, blank
// padded to 80 and 20 bytes, then 100 zero bytes.
QByteArray recordBytes(const QByteArray& dir, const QByteArray& exe);

// Writes `bytes` to `path`, replacing it.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

} // namespace zavo::test

// The Qt tests' view of settei_bytes.h and scratch_folder.h: the same
// records and whole files, as QByteArray and with QString paths.
#pragma once

#include <QByteArray>
#include <QString>

namespace zavo::test {

// One 200-byte record: `dir` and `exe` are raw code-page-932 bytes, blank
// padded (or cut) to 80 and 20 bytes, then 100 zero bytes.
QByteArray recordBytes(const QByteArray& dir, const QByteArray& exe);

// Writes `bytes` to `path`, replacing it (a Qt Test failure when it cannot).
void writeFile(const QString& path, const QByteArray& bytes);
// The file's bytes as found; empty when it cannot be read.
QByteArray readFile(const QString& path);

// `s` as one word of a shell script the test writes.
inline QByteArray shellQuoted(const QString& s) {
    return "'" + s.toUtf8().replace("'", "'\\''") + "'";
}

} // namespace zavo::test

// Programs a Qt test writes to see what was started and how: shell scripts
// that report words of their own (arguments, folder, process id) to a file.
#pragma once

#include "support/slot_bytes.h"

#include <QFile>
#include <QStringList>
#include <QTest>

namespace zavo::test {

// Writes `body` to `path` as a program, executable or not (a Qt Test failure
// when it cannot).
inline void writeProgram(const QString& path, const QByteArray& body, bool executable = true) {
    writeFile(path, body);
    QFile::Permissions perms = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        perms |= QFile::ExeOwner;
    QVERIFY(QFile::setPermissions(path, perms));
}

// A script that writes each of `words` (shell words, "$@" by default), NUL
// terminated, to `report`; through a temporary name, so that a reader never
// sees half a report.
inline QByteArray reportingScript(const QString& report, const QByteArray& words = "\"$@\"",
                                  const QByteArray& interpreter = "/bin/sh") {
    return "#!" + interpreter + "\nm=" + shellQuoted(report) + "\nfor a in " + words +
           "; do printf '%s\\000' \"$a\"; done > \"$m.tmp\" && mv \"$m.tmp\" \"$m\"\n";
}

// The words of a report (they may hold newlines); "(no report)" when there
// is none.
inline QStringList readReport(const QString& report) {
    QFile f(report);
    if (!f.open(QIODevice::ReadOnly))
        return {QStringLiteral("(no report)")};
    QStringList words = QString::fromUtf8(f.readAll()).split(QChar(0));
    words.removeLast(); // after the last NUL
    return words;
}

} // namespace zavo::test

#include "wine_session.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTest>

#include <utility>

namespace zavo::test {

bool waitFor(const std::function<bool()>& done, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(100);
    }
    return true;
}

void useWinePrefix(XSession& session, const QString& prefix, const QString& localeDir,
                   const QString& dllOverrides) {
    for (const auto& [name, value] :
         {std::pair{"WINEPREFIX", prefix}, std::pair{"LOCPATH", localeDir},
          std::pair{"WINEDEBUG", QStringLiteral("-all")},
          std::pair{"WINEDLLOVERRIDES", dllOverrides},
          std::pair{"LANG", QStringLiteral("ja_JP.UTF-8")},
          std::pair{"LC_ALL", QStringLiteral("ja_JP.UTF-8")}})
        session.setEnvironmentVariable(QString::fromLatin1(name), value);
}

bool prepareWinePrefix(const QString& wineDir, const QProcessEnvironment& environment) {
    QProcess prepare;
    prepare.setProcessEnvironment(environment);
    prepare.start(QStringLiteral(ZAVO_WINE_RUN), {QStringLiteral("--prepare"), wineDir});
    return prepare.waitForFinished(180000) && prepare.exitStatus() == QProcess::NormalExit &&
           prepare.exitCode() == 0;
}

bool usePreparedPrefix(XSession& session, const QString& wineDir, const QString& dllOverrides) {
    if (!prepareWinePrefix(wineDir, session.environment()))
        return false;
    useWinePrefix(session, wineDir + QStringLiteral("/wine-prefix"),
                  wineDir + QStringLiteral("/wine-locale"), dllOverrides);
    return true;
}

void stopWineServer(const QString& wineDir) {
    QProcess::execute(QStringLiteral(ZAVO_WINE_RUN), {QStringLiteral("--stop"), wineDir});
}

} // namespace zavo::test

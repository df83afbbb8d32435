#include "wine_session.h"

#include <QDeadlineTimer>
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

} // namespace zavo::test

// What the Wine end-to-end tests share around their private X session.
#pragma once

#include "support/x_session.h"

#include <QProcessEnvironment>
#include <QString>

#include <functional>

namespace zavo::test {

// Waits, handling events, until `done` holds; false when the time ran out.
bool waitFor(const std::function<bool()>& done, int timeoutMs);

// Everything the session starts from now on runs in the private prefix, with
// the Japanese locale compiled beside it and no add-on downloads.
void useWinePrefix(XSession& session, const QString& prefix, const QString& localeDir,
                   const QString& dllOverrides = QStringLiteral("mscoree,mshtml="));

// Makes the private Wine prefix in `wineDir` (wine-run.sh --prepare), its
// server started in `environment`; false when that failed.
bool prepareWinePrefix(const QString& wineDir, const QProcessEnvironment& environment =
                                                   QProcessEnvironment::systemEnvironment());

// Prepares the prefix in `wineDir` on the session's display (the server
// keeps Wine's desktop, which takes its display driver from the first
// program: it must see this session's display, or every window would go to
// the null driver) and uses it for everything the session starts.
bool usePreparedPrefix(XSession& session, const QString& wineDir,
                       const QString& dllOverrides = QStringLiteral("mscoree,mshtml="));

// Ends the prefix's server and what is left of the programs started in it.
void stopWineServer(const QString& wineDir);

} // namespace zavo::test

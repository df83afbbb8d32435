// What the Wine end-to-end tests share around their private X session.
#pragma once

#include "support/x_session.h"

#include <QString>

#include <functional>

namespace zavo::test {

// Waits, handling events, until `done` holds; false when the time ran out.
bool waitFor(const std::function<bool()>& done, int timeoutMs);

// Everything the session starts from now on runs in the private prefix, with
// the Japanese locale compiled beside it and no add-on downloads.
void useWinePrefix(XSession& session, const QString& prefix, const QString& localeDir,
                   const QString& dllOverrides = QStringLiteral("mscoree,mshtml="));

} // namespace zavo::test

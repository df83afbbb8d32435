#pragma once

namespace zavo::ui {
// Loads Qt's own translations for the session's language, so the buttons of
// its message boxes read as the user's language does ("はい", "いいえ").
void installQtTranslations();
} // namespace zavo::ui

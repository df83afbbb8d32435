// The clock line of the main window.
#include "zavo_launcher.h"

#include "core/clock_text.h"
#include "core/module1.h"
#include "text.h"

#include <QLabel>

namespace zavo::ui {

void ZAVO_launcher::Timer1_Timer() {
    const QString text = qstr(core::clock_text(module1_.services));
    // An unchanged text must not cost a repaint.
    if (time_display_->text() != text)
        time_display_->setText(text);
}

} // namespace zavo::ui

#include "frm_about.h"

#include "control_table.h"
#include "core/shake.h"
#include "core/twips.h"
#include "frm_about_layout.h"
#include "line_control.h"

#include <QCloseEvent>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

namespace zavo::ui {
namespace {

using core::kTwipsPerPixel;
using core::twips_to_pixels;

constexpr const char* kPicture = ":/about.gif";
constexpr const char* kLeft = "Left";
constexpr const char* kTop = "Top";

// The picture's Left and Top as the control holds them: single-precision
// twips, of which the widget shows the nearest pixel.
float twipsOf(const QWidget* w, const char* property) {
    return w->property(property).toFloat();
}

} // namespace

frmABOUT::frmABOUT(Forms& forms) : QDialog(nullptr), Form(forms) {
    setObjectName(QStringLiteral("frmABOUT"));
    setWindowTitle(QStringLiteral("ZAVO_launcherのバージョン情報"));
    // A top-level window of its own (no owner, in the taskbar), with a close
    // box but no minimize or maximize button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);
    // The client area, not the frame, goes to the stored place.
    setGeometry(kClientLeft, kClientTop, kClientWidth, kClientHeight);

    buildControls(this, kAboutControls);

    Picture1_ = control<QLabel>(this, "Picture1");
    QImageReader reader(QString::fromUtf8(kPicture));
    const QImage image = reader.read();
    if (!image.isNull()) {
        Picture1_->setPixmap(QPixmap::fromImage(image));
        Picture1_->resize(image.size()); // the box takes its picture's size
    }
    Picture1_->setProperty(kLeft, float(kAboutControls[0].left));
    Picture1_->setProperty(kTop, float(kAboutControls[0].top));
    // Every pointer move over the picture counts, not only dragging.
    Picture1_->setMouseTracking(true);
    Picture1_->installEventFilter(this);

    for (int i = 0; i < 5; ++i) {
        Line1_[static_cast<std::size_t>(i)] =
            control<LineControl>(this, ("Line1_" + std::to_string(i)).c_str());
        Line1(i)->hide();
    }
    auto* rule = control<LineControl>(this, "Line_0");
    rule->setColor(QColor(224, 224, 224));
    rule = control<LineControl>(this, "Line_1");
    rule->setColor(QColor(64, 64, 64));
    rule->setPenWidth(2);

    OK_but_ = control<QPushButton>(this, "OK_but");
    // Enter clicks it as the default button; Esc reaches it through reject().
    OK_but_->setDefault(true);
    OK_but_->setAutoDefault(true);
    OK_but_->setFocus();
    connect(OK_but_, &QPushButton::clicked, this, &frmABOUT::OK_but_Click);
}

void frmABOUT::Form_Unload() {
    forms_.show(FormId::Launcher);
}

void frmABOUT::OK_but_Click() {
    forms_.show(FormId::Launcher);
    forms_.unload(FormId::About);
}

void frmABOUT::Picture1_MouseMove(int, int, float, float) {
    for (LineControl* stroke : Line1_)
        stroke->setVisible(true);
    // The strokes are on screen before the picture starts moving.
    repaint();

    // Left and Top are read back from the control before every step. They
    // are kept in twips: read back as whole pixels, the rounding would walk
    // the picture a pixel further right every cycle, out of the window.
    for (int cycle = 1; cycle <= core::kShakeCycles; ++cycle) {
        for (const core::ShakeStep& step : core::kShakeSteps) {
            const float left = twipsOf(Picture1_, kLeft);
            const float top = twipsOf(Picture1_, kTop);
            movePicture(left + float(step.dLeft), top + float(step.dTop));
        }
    }
    movePicture(twipsOf(Picture1_, kLeft), float(core::kShakeHomeTop));
    movePicture(float(core::kShakeHomeLeft), twipsOf(Picture1_, kTop));

    for (LineControl* stroke : Line1_)
        stroke->setVisible(false);
}

float frmABOUT::Picture1Left() const {
    return twipsOf(Picture1_, kLeft);
}
float frmABOUT::Picture1Top() const {
    return twipsOf(Picture1_, kTop);
}

void frmABOUT::movePicture(float leftTwips, float topTwips) {
    const QRect before = Picture1_->geometry();
    Picture1_->setProperty(kLeft, leftTwips);
    Picture1_->setProperty(kTop, topTwips);
    Picture1_->move(twips_to_pixels(leftTwips), twips_to_pixels(topTwips));
    // Drawn now, not when the event loop next runs: the whole shake happens
    // inside this one handler.
    repaint(before.united(Picture1_->geometry()));
}

bool frmABOUT::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Picture1_ && event->type() == QEvent::MouseMove) {
        const auto* move = static_cast<QMouseEvent*>(event);
        const QPointF at = move->position() * kTwipsPerPixel;
        Picture1_MouseMove(move->buttons().toInt(), move->modifiers().toInt(),
                           static_cast<float>(at.x()), static_cast<float>(at.y()));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmABOUT::closeEvent(QCloseEvent* event) {
    forms_.unload(FormId::About);
    event->accept();
}

// Esc: OK_but is the cancel button as well.
void frmABOUT::reject() {
    OK_but_Click();
}

} // namespace zavo::ui

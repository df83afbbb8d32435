#include "option_dialog.h"

#include "accessible_relations.h"
#include "screen_place.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QWindow>

namespace zavo::ui {

using forms::OptionControl;

OptionDialog::OptionDialog(forms::frmOption& form)
    : FormWindow(form, forms::kOptionWindow), controls_(this, forms::kOptionControls),
      Drv_name_(controls_.get<QComboBox>(OptionControl::Drv_name)),
      dir_name_(controls_.get<QListWidget>(OptionControl::dir_name)),
      File_name_(controls_.get<QListWidget>(OptionControl::File_name)),
      clientSize_(clientRect(forms::kOptionWindow).size()) {
    setFixedSize(clientSize_);

    // Created before the frames, these lie over them.
    for (OptionControl id : {OptionControl::Option3, OptionControl::Option2, OptionControl::Option1,
                             OptionControl::reset})
        controls_.get(id)->raise();
    controls_.get<QRadioButton>(OptionControl::Option1)->setChecked(true);
    std::array<QWidget*, forms::kSlotGroup.members.size()> members{}, labels{};
    for (std::size_t i = 0; i < members.size(); ++i) {
        members[i] = controls_.get(forms::kSlotGroup.members[i]);
        labels[i] = controls_.get(forms::kSlotGroup.labels[i]);
    }
    relateOptionGroup(controls_.get(forms::kSlotGroup.frame), members, labels);
    for (std::size_t i = 0; i < members.size(); ++i)
        describeOption(i);
    firstFocus_ = controls_.get(forms::kOptionFirstFocus);

    dir_name_->setSelectionMode(QAbstractItemView::SingleSelection);
    File_name_->setSelectionMode(QAbstractItemView::SingleSelection);

    connect(Drv_name_, &QComboBox::currentIndexChanged, this, [this](int index) {
        describeDrive();
        forward([this, index] { form_.Drv_name_Change(index); });
    });
    connect(dir_name_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const int row = dir_name_->row(item);
        forward([this, row] { form_.dir_name_Open(row); });
    });
    for (const auto& button : forms::kOptionButtons)
        connect(controls_.get<QPushButton>(button.button), &QPushButton::clicked, this,
                [this, button] { forward(button); });

    // Opened without an owner, so centred on the screen: first as well as
    // the frame can be known before mapping, then once more when the window
    // manager has framed it.
    centreOnScreen(lastFrameMargins());
}

void OptionDialog::setLabel(int slot, const std::string& caption) {
    const auto i = static_cast<std::size_t>(slot - 1);
    controls_.get<QLabel>(forms::kSlotGroup.labels.at(i))->setText(QString::fromStdString(caption));
    describeOption(i);
}

// A screen reader names an option button's group by the first label it has:
// the program of the slot, shown in the second, is read as its description.
void OptionDialog::describeOption(std::size_t i) {
    controls_.get(forms::kSlotGroup.members.at(i))
        ->setAccessibleDescription(controls_.get<QLabel>(forms::kSlotGroup.labels.at(i))->text());
}

bool OptionDialog::optionValue(int slot) {
    return controls_.get<QRadioButton>(forms::kSlotOptions.at(static_cast<std::size_t>(slot - 1)))
        ->isChecked();
}

void OptionDialog::setDrives(const std::vector<std::string>& names) {
    const QSignalBlocker quiet(Drv_name_);
    Drv_name_->clear();
    for (const std::string& name : names)
        Drv_name_->addItem(QString::fromStdString(name));
    Drv_name_->setCurrentIndex(-1);
    describeDrive();
}

void OptionDialog::selectDrive(int index) {
    const QSignalBlocker quiet(Drv_name_);
    Drv_name_->setCurrentIndex(index);
    describeDrive();
}

// Qt 6.4 gives screen readers no way to read which row of a combo box is
// chosen (its list has no selection for them), so the drive shown is read
// as the box's description, after its name.
void OptionDialog::describeDrive() {
    Drv_name_->setAccessibleDescription(Drv_name_->currentText());
}

void OptionDialog::setFolders(const std::vector<std::string>& names, int openRows) {
    dir_name_->clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    int row = 0;
    for (const std::string& name : names)
        new QListWidgetItem(row++ < openRows ? open : closed, QString::fromStdString(name),
                            dir_name_);
    dir_name_->setCurrentRow(openRows - 1);
}

void OptionDialog::setFiles(const std::vector<std::string>& names) {
    File_name_->clear();
    for (const std::string& name : names)
        File_name_->addItem(QString::fromStdString(name));
    File_name_->clearSelection();
}

int OptionDialog::selectedFile() {
    const QList<QListWidgetItem*> selected = File_name_->selectedItems();
    return selected.isEmpty() ? -1 : File_name_->row(selected.front());
}

void OptionDialog::setListName(OptionControl list, const std::string& name) {
    controls_.get(list)->setAccessibleName(QString::fromStdString(name));
}

QMargins OptionDialog::lastFrameMargins() {
    for (const QWindow* w : QGuiApplication::topLevelWindows())
        if (w->isVisible() && !w->frameMargins().isNull())
            return w->frameMargins();
    return {};
}

void OptionDialog::centreOnScreen(const QMargins& frame) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect outer(QPoint(), clientSize_.grownBy(frame));
    outer.moveCenter(screen->geometry().center());
    setGeometry(QRect(outer.topLeft() + QPoint(frame.left(), frame.top()), clientSize_));
    centredFor_ = frame;
    // A screen smaller than the dialog: at least its title bar stays on it.
    keepOnScreen(*this);
}

void OptionDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!framed_ && windowHandle())
        windowHandle()->installEventFilter(this);
}

bool OptionDialog::eventFilter(QObject* watched, QEvent* event) {
    // The frame is known once the window manager has put it around us, by
    // the time the window is first exposed.
    if (!framed_ && watched == windowHandle() && event->type() == QEvent::Expose &&
        windowHandle()->isExposed()) {
        framed_ = true;
        windowHandle()->removeEventFilter(this);
        if (windowHandle()->frameMargins() != centredFor_)
            centreOnScreen(windowHandle()->frameMargins());
    }
    return QDialog::eventFilter(watched, event);
}

// Esc presses Cancel_but.
void OptionDialog::reject() {
    forward(&forms::frmOption::Cancel_but_Click);
}

} // namespace zavo::ui

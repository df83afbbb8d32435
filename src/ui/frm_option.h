// The registration dialog: assigns a program to a user slot, or clears them.
#pragma once

#include "form.h"

#include <QDialog>
#include <QHash>
#include <QMargins>
#include <QString>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;

namespace zavo::core {
class Module1;
}

namespace zavo::ui {

class frmOption : public QDialog, public Form {
    Q_OBJECT
public:
    frmOption(Forms& forms, core::Module1& module1);

    QWidget& window() override { return *this; }
    void Form_Load() override;
    void Form_Unload() override;

    // Handlers, named after their control and event.
    void Drv_name_Change();
    void dir_name_Change();
    void touroku_Click();
    void reset_Click();
    void Cancel_but_Click();

    // The folder dir_name stands on, and the folder File_name lists; both
    // absolute, with '/' separators.
    QString dirPath() const { return dirPath_; }
    QString filePath() const { return filePath_; }

    static constexpr int kClientWidth = 455;
    static constexpr int kClientHeight = 196;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    // The frame of a window already on screen, the best guess for ours.
    static QMargins lastFrameMargins();
    void centreOnScreen(const QMargins& frame);
    // Moves dir_name to `folder`; false, with nothing changed, when the
    // folder cannot be listed.
    bool moveFolderList(const QString& folder);
    // Points File_name at `folder`; false, with nothing changed, when the
    // folder cannot be listed.
    bool pointFileList(const QString& folder);
    void openFolder(QListWidgetItem* item);
    void selectDrive(const QString& root);
    // Records 1 to 3 onto the labels of the registered slots; false when the
    // file could not be opened or read (labels set so far stay).
    bool readSlotLabels();
    void failed(const char* message);
    QLabel* Label(int slot) const;

    core::Module1& module1_;
    QComboBox* Drv_name_ = nullptr;
    QListWidget* dir_name_ = nullptr;
    QListWidget* File_name_ = nullptr;
    QString dirPath_;
    QString filePath_;
    // The folder last shown on each drive, as Windows keeps one per drive.
    QHash<QString, QString> driveFolder_;
    QMargins centredFor_;
    bool framed_ = false;
};

} // namespace zavo::ui

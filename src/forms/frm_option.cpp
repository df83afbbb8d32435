#include "frm_option.h"

#include "core/cp932.h"
#include "core/folder_lists.h"
#include "core/module1.h"
#include "core/utf.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace zavo::forms {
namespace lists = platform::folder_lists;
namespace {

constexpr const char* kTitle = "ZAVO_launcher";
constexpr const char* kReadError = "読み取りエラー";
constexpr const char* kRegisterError = "登録エラーです";
constexpr const char* kResetQuestion = "登録状況をリセットしますか？";
constexpr const char* kUnregistered = "未登録";

// The line under the register error that says what to change. The fields
// count code page 932 bytes: a half-width character takes one, a full-width
// one two.
constexpr const char* kNoFileChosen = "ファイルが選ばれていません。";
constexpr const char* kFolderTooLong = "フォルダのパスは半角80文字（全角40文字）までです。";
constexpr const char* kNameTooLong = "ファイル名は半角20文字（全角10文字）までです。";

// The first character of `text` that code page 932 has no form for, as
// "「〜」(U+301C)"; empty when there is none.
std::string unstorableCharacter(const std::u16string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] < 0xDC00 &&
                          text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
        const std::u16string one = text.substr(i, pair ? 2 : 1);
        if (!core::cp932::encode(one)) {
            const char32_t code =
                pair ? 0x10000 + ((char32_t(one[0]) - 0xD800) << 10) + (char32_t(one[1]) - 0xDC00)
                     : char32_t(one[0]);
            char notation[16];
            std::snprintf(notation, sizeof notation, "(U+%04X)", unsigned(code));
            return "「" + core::to_utf8(one) + "」" + notation;
        }
        i += one.size();
    }
    return {};
}

// Why `text` cannot be stored whole in a field of `bytes`: a cut or altered
// name could never be started again. Empty when it fits.
std::string fieldRefusal(const std::string& text, std::size_t bytes, const char* tooLong) {
    const std::u16string wide = core::to_utf16(text);
    const std::string character = unstorableCharacter(wide);
    if (!character.empty())
        return character + " は登録できない文字です。";
    const auto encoded = core::cp932::encode(wide);
    return encoded && encoded->size() <= bytes ? std::string() : tooLong;
}

} // namespace

frmOption::frmOption(Forms& forms, ViewFactory& views)
    : FormWithView(forms, FormId::Option, views, *this) {
    // The lists start on the start folder and its drive. A folder that cannot
    // be listed leaves them empty; the user can still choose another drive.
    const std::string current = lists::startFolder();
    drives_ = lists::driveRoots();
    std::vector<std::string> shown;
    for (const std::string& root : drives_)
        shown.push_back(lists::displayName(root));
    view_.setDrives(shown);
    showDriveOf(current);
    if (moveFolderList(current)) {
        if (drive_ >= 0)
            driveFolder_[drives_[std::size_t(drive_)]] = dirPath_;
        pointFileList(current);
    } else {
        dirPath_ = filePath_ = current;
    }
}

void frmOption::failed(const std::string& message) {
    forms_.module1().services.messageBox(message, platform::vbCritical, kTitle);
}

bool frmOption::readSlotLabels() {
    core::Module1& m = forms_.module1();
    if (!m.settei.open())
        return false;
    for (int n = 1; n <= core::kSlotCount; ++n) {
        if (!m.settei.read_record(n, m.slot)) {
            m.settei.close();
            return false;
        }
        if (core::slot_registered(m.slot))
            view_.setLabel(n, core::to_utf8(core::slot_caption(m.slot)));
    }
    m.settei.close();
    return true;
}

void frmOption::Form_Load() {
    // The file could not be read: say so once the dialog is up, and let the
    // user still register or reset (which may well mend it).
    if (!readSlotLabels())
        loadError_ = kRegisterError;
}

void frmOption::Form_Activate() {
    if (!loadError_.empty())
        failed(std::exchange(loadError_, {}));
}

void frmOption::showDriveOf(const std::string& folder) {
    const auto it = std::find(drives_.begin(), drives_.end(), lists::driveOf(folder));
    if (it == drives_.end())
        return;
    const int index = int(it - drives_.begin());
    if (index != drive_) {
        drive_ = index;
        view_.selectDrive(index);
    }
}

bool frmOption::moveFolderList(const std::string& folder) {
    const auto names = lists::subfolders(folder);
    if (!names)
        return false;
    std::vector<std::string> rows = lists::chain(folder);
    dirPath_ = rows.back();
    const int openRows = int(rows.size());
    std::vector<std::string> shown;
    for (const std::string& path : rows)
        shown.push_back(lists::displayName(path));
    for (const std::string& name : *names) {
        shown.push_back(name);
        rows.push_back(lists::join(dirPath_, name));
    }
    folderRows_ = std::move(rows);
    view_.setFolders(shown, openRows);
    view_.setListName(OptionControl::dir_name, std::string(kFolderListName) + ' ' + dirPath_);
    return true;
}

bool frmOption::pointFileList(const std::string& folder) {
    auto names = lists::programs(folder);
    if (!names)
        return false;
    filePath_ = folder;
    files_ = std::move(*names);
    view_.setFiles(files_);
    view_.setListName(OptionControl::File_name, files_.empty() ? kNoFilesName : kFileListName);
    return true;
}

void frmOption::dir_name_Open(int row) {
    if (row < 0 || std::size_t(row) >= folderRows_.size())
        return;
    const std::string folder = folderRows_[std::size_t(row)];
    if (folder == dirPath_)
        return;
    if (!moveFolderList(folder)) {
        failed(kReadError);
        return;
    }
    // Volumes nest on Linux: the drive list follows the folder onto the
    // volume that holds it.
    showDriveOf(dirPath_);
    if (drive_ >= 0)
        driveFolder_[drives_[std::size_t(drive_)]] = dirPath_;
    dir_name_Change();
}

void frmOption::Drv_name_Change(int index) {
    if (index < 0 || std::size_t(index) >= drives_.size())
        return;
    // The list shows the drive just chosen, whatever follows.
    drive_ = index;
    const std::string& root = drives_[std::size_t(index)];
    const auto known = driveFolder_.find(root);
    const std::string last = known != driveFolder_.end() ? known->second : root;
    // The folder last shown on the drive may have gone; the root is next.
    if (!moveFolderList(last) && (last == root || !moveFolderList(root))) {
        failed(kReadError);
        return;
    }
    driveFolder_[root] = dirPath_;
    dir_name_Change();
}

void frmOption::dir_name_Change() {
    if (!pointFileList(dirPath_))
        failed(kReadError);
}

void frmOption::touroku_Click() {
    std::string folder = filePath_;
    if (folder.empty() || folder.back() != lists::kPathSeparator)
        folder += lists::kPathSeparator;
    const int selected = view_.selectedFile();
    // Nothing is stored that could not be started again: no file chosen, or
    // a name that its field would cut or alter. The message says which.
    if (const std::string why = refusal(folder, selected); !why.empty()) {
        failed(std::string(kRegisterError) + "\n" + why);
        return;
    }
    core::Module1& m = forms_.module1();
    m.slot.assign_dir_path(core::to_utf16(folder));
    m.slot.assign_exe_name(core::to_utf16(files_[std::size_t(selected)]));

    int slot = 0;
    if (view_.optionValue(1))
        slot = 1;
    if (view_.optionValue(2))
        slot = 2;
    if (view_.optionValue(3))
        slot = 3;

    const bool written = m.settei.open() && m.settei.write_record(slot, m.slot);
    m.settei.close();
    if (!written || !readSlotLabels()) {
        failed(kRegisterError);
        return;
    }
    m.services.beep();
}

std::string frmOption::refusal(const std::string& folder, int selected) const {
    if (selected < 0 || std::size_t(selected) >= files_.size())
        return kNoFileChosen;
    std::string why = fieldRefusal(folder, core::kDirPathWidth, kFolderTooLong);
    if (why.empty())
        why = fieldRefusal(files_[std::size_t(selected)], core::kExeNameWidth, kNameTooLong);
    return why;
}

void frmOption::reset_Click() {
    core::Module1& m = forms_.module1();
    // No is the default answer: Enter alone must never wipe the slots.
    if (m.services.messageBox(kResetQuestion, platform::vbYesNo | platform::vbDefaultButton2,
                              kTitle) != platform::vbYes)
        return;
    m.slot.assign_dir_path(std::u16string(core::kDirPathWidth, u' '));
    m.slot.assign_exe_name(std::u16string(core::kExeNameWidth, u' '));
    bool written = m.settei.open();
    for (int n = 1; written && n <= core::kSlotCount; ++n)
        written = m.settei.write_record(n, m.slot);
    m.settei.close();
    if (!written) {
        failed(kRegisterError);
        return;
    }
    for (int n = 1; n <= core::kSlotCount; ++n)
        view_.setLabel(n, kUnregistered);
    m.services.beep();
}

void frmOption::Form_Unload() {
    forms_.show(FormId::Launcher);
}

void frmOption::Cancel_but_Click() {
    forms_.show(FormId::Launcher);
    forms_.unload(FormId::Option);
}

void frmOption::Form_QueryClose() {
    forms_.unload(FormId::Option);
}

} // namespace zavo::forms

#include "app/WipewellMainDlg.h"

#include "app/BrowseForFolder.h"
#include "app/DriveChoiceText.h"
#include "app/DriveMenu.h"
#include "app/HandedPaths.h"
#include "app/MessageBox.h"
#include "app/MultiSelectionFileDialog.h"
#include "app/PathHandOver.h"
#include "app/TipHeldBack.h"
#include "app/UserTexts.h"
#include "erase/RecycleBin.h"
#include "erase/TaskItem.h"
#include "erase/WipeableDrive.h"
#include "foundation/DriveRoot.h"
#include "foundation/Exception.h"
#include "foundation/ExtendedPath.h"
#include "foundation/Logger.h"

// Adding files, folders, drives' free space and the Recycle Bin: the four buttons, the shell
// drop, and words handed in from outside the window. From the buttons and the drop, a path that is empty, missing
// or of the other kind is skipped without a word (the user sees what was added); a handed word
// comes from a command line the user may not have read, so each gets its outcome in the log. The
// same file or folder may be added any number of times; a drive's free space, and the Recycle
// Bin, wait once.

namespace {

// What the path names, asked as the erase engine will ask: in the extended-length form, which
// reads a path longer than MAX_PATH as it is. The plain form fails there, and the file layer
// answers a failed query "there, and a folder": a long file would become a Folder row that fails.
// Nothing for a path that names no item for any reason: missing, malformed, or a form no name can
// hold (a quote, a "<", a ":" past the drive), which would only make a row that fails. Only the
// item's attributes are read, not its folder's listing: with a search per path a drop of 5,000
// files took 0.5 to 1.5 s more under Wine. The worker looks the item up in the listing when it
// starts.
std::optional<ItemKind> kindOfItemAt(const std::wstring& path)
{
    if (path.empty())
        return std::nullopt;
    try {
        const std::optional<DWORD> attributes = taskItemAttributes(Kestrel::extendedLengthPath(path));
        if (!attributes)
            return std::nullopt;
        return (*attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ItemKind::Folder : ItemKind::File;
    } catch (const Kestrel::Exception&) {
        // A drive-relative path (C:x) or a server without a share.
        return std::nullopt;
    }
}

// What the bin holds as the row is added ("Recycle Bin (12 items, 340 MB)"); its worker looks
// again when it starts.
std::wstring recycleBinDescription(const RecycleBinContent& bin)
{
    const std::size_t items = bin.items.size();
    return std::wstring(kRecycleBinName) + L" (" + std::to_wstring(items) + (items == 1 ? L" item, " : L" items, ") +
           byteCountText(bin.bytes()) + L")";
}

} // namespace

bool WipewellMainDlg::addFile(const std::wstring& path)
{
    return kindOfItemAt(path) == ItemKind::File && appendRow(ItemKind::File, path);
}

bool WipewellMainDlg::addFolder(const std::wstring& path)
{
    return kindOfItemAt(path) == ItemKind::Folder && appendRow(ItemKind::Folder, path);
}

bool WipewellMainDlg::addItem(const std::wstring& path)
{
    const std::optional<ItemKind> kind = kindOfItemAt(path);
    return kind && appendRow(*kind, path);
}

bool WipewellMainDlg::appendRow(ItemKind kind, const std::wstring& path)
{
    return taskList_.addTask(kind, path, EraseStatus::Waiting, 0.0, handle()) >= 0;
}

// The row's path is exactly the root ("D:\"), whatever form the caller had.
bool WipewellMainDlg::addFreeSpace(const std::wstring& root)
{
    const std::optional<std::wstring> drive = Kestrel::driveRootOf(root);
    if (!drive || *drive != root || !wipeableDrive(root) || taskList_.hasWaitingTask(ItemKind::FreeSpace, root))
        return false;
    return appendRow(ItemKind::FreeSpace, root);
}

bool WipewellMainDlg::addRecycleBin()
{
    return !taskList_.hasWaitingTask(ItemKind::RecycleBin) &&
           appendRow(ItemKind::RecycleBin, recycleBinDescription(findRecycleBin()));
}

bool WipewellMainDlg::onDropFiles(const std::vector<std::wstring>& paths)
{
    if (paths.empty())
        return false;
    std::vector<EraseTask> rows;
    for (const std::wstring& path : paths) {
        if (const std::optional<ItemKind> kind = kindOfItemAt(path))
            rows.emplace_back(*kind, path, EraseStatus::Waiting, 0.0, handle());
    }
    static_cast<void>(taskList_.addTasks(rows));
    return true;
}

void WipewellMainDlg::addHandedPaths(const std::vector<std::wstring>& paths)
{
    Kestrel::Logger& logger = Kestrel::Logger::instance();
    for (const std::wstring& path : paths) {
        if (addHandedPath(path))
            logger.log(Kestrel::LogLevel::Info, L"Added: %s. ", path.c_str());
        else
            logger.log(Kestrel::LogLevel::Error, L"Skipped: %s. ", path.c_str());
    }
}

void WipewellMainDlg::addHandedDrives(const std::vector<std::wstring>& words)
{
    Kestrel::Logger& logger = Kestrel::Logger::instance();
    for (const std::wstring& word : words) {
        const std::optional<std::wstring> root = Kestrel::driveRootOf(word);
        // A drive is named by its root in the log, as in the row; anything else as it came.
        const std::wstring named = root.value_or(word);
        if (root && !scheduler_.isClosing() && addFreeSpace(*root))
            logger.log(Kestrel::LogLevel::Info, L"Added: %s. ", named.c_str());
        else
            logger.log(Kestrel::LogLevel::Error, L"Skipped: %s. ", named.c_str());
    }
}

void WipewellMainDlg::addHandedRecycleBin()
{
    Kestrel::Logger& logger = Kestrel::Logger::instance();
    if (!scheduler_.isClosing() && addRecycleBin()) {
        const std::wstring row = taskList_.getItemText(taskList_.getItemCount() - 1, 0);
        logger.log(Kestrel::LogLevel::Info, L"Added: %s. ", row.c_str());
    } else {
        logger.log(Kestrel::LogLevel::Error, L"Skipped: %s. ", kRecycleBinName);
    }
}

void WipewellMainDlg::addHandedItems(const HandedItems& items)
{
    if (items.recycleBin)
        addHandedRecycleBin();
    else if (items.freeSpace)
        addHandedDrives(items.words);
    else
        addHandedPaths(items.words);
}

// A path that is not whole would be read against this process's current folder, which is not
// the one of the process that handed it in.
bool WipewellMainDlg::addHandedPath(const std::wstring& path)
{
    return !scheduler_.isClosing() && isWholePath(path) && addItem(path);
}

bool WipewellMainDlg::onCopyData(HWND, const COPYDATASTRUCT* data)
{
    // Before its set-up the dialog has no list to add to: the sender looks again.
    if (!data || !taskList_.handle())
        return false;
    const std::optional<HandedItems> items = unpackHandedItems(*data);
    if (!items) {
        Kestrel::Logger::instance().log(Kestrel::LogLevel::Error, L"Refused a malformed list of paths. ");
        return false;
    }
    addHandedItems(*items);
    return true;
}

void WipewellMainDlg::onAddFile()
{
    std::vector<std::wstring> paths;
    if (!selectFiles(UserTexts::kAllFilesFilter, paths))
        return;
    for (const std::wstring& path : paths)
        static_cast<void>(addFile(path));
}

void WipewellMainDlg::onAddFolder()
{
    std::wstring path;
    if (selectFolder(handle(), path, {}))
        static_cast<void>(addFolder(path));
}

void WipewellMainDlg::onAddFreeSpace()
{
    const TipHeldBack quiet(tooltip_.handle(), addFreeSpaceButton_.handle());
    const auto waiting = [this](const std::wstring& root) {
        return taskList_.hasWaitingTask(ItemKind::FreeSpace, root);
    };
    driveMenu_.openBelow(addFreeSpaceButton_.handle(), waiting,
                         [this](const std::wstring& root) { static_cast<void>(addFreeSpace(root)); });
}

// The user who pressed the button hears of an empty bin instead of getting a row that erases
// nothing. A bin that could not be looked at on some drive still gets its row: its worker looks
// again and logs what it cannot reach.
void WipewellMainDlg::onAddRecycleBin()
{
    if (taskList_.hasWaitingTask(ItemKind::RecycleBin))
        return;
    const RecycleBinContent bin = findRecycleBin();
    if (bin.items.empty() && bin.problems.empty()) {
        showMessage(handle(), UserTexts::kRecycleBinEmpty, MB_OK | MB_ICONINFORMATION);
        return;
    }
    static_cast<void>(appendRow(ItemKind::RecycleBin, recycleBinDescription(bin)));
}

bool WipewellMainDlg::selectFiles(const std::wstring& filter, std::vector<std::wstring>& paths)
{
    Kestrel::MultiSelectionFileDialog dialog(filter);
    if (!dialog.run(GetActiveWindow()))
        return false;
    paths.clear();
    for (int index = 0; index < dialog.getFileCount(); ++index)
        paths.push_back(dialog.getFilePath(index));
    return true;
}

bool WipewellMainDlg::selectFolder(HWND owner, std::wstring& path, const std::wstring& initialFolder)
{
    Kestrel::BrowseForFolder browser;
    browser.setTitle(UserTexts::kChooseFolderToErase);
    if (!initialFolder.empty())
        browser.setInitialFolder(initialFolder);
    browser.setOwner(owner);
    if (!browser.browse())
        return false;
    path = browser.selectedPath();
    return true;
}

#include "app/WipewellMainDlg.h"

#include "app/BrowseForFolder.h"
#include "app/HandedPaths.h"
#include "app/MultiSelectionFileDialog.h"
#include "app/PathHandOver.h"
#include "app/UserTexts.h"
#include "foundation/Logger.h"
#include "foundation/PathUtilities.h"

// Adding files and folders: the two buttons, the shell drop, and paths handed in from outside the
// window. From the buttons and the drop, a path that is empty, missing or of the other kind is
// skipped without a word (the user sees what was added); a handed path comes from a command
// line the user may not have read, so each gets its outcome in the log. The same path may be
// added any number of times.

bool WipewellMainDlg::addFile(const std::wstring& path)
{
    if (path.empty() || !Kestrel::pathExists(path) || Kestrel::pathIsDirectory(path))
        return false;
    return taskList_.addTask(ItemKind::File, path, EraseStatus::Waiting, 0.0, handle()) >= 0;
}

bool WipewellMainDlg::addFolder(const std::wstring& path)
{
    if (path.empty() || !Kestrel::pathExists(path) || !Kestrel::pathIsDirectory(path))
        return false;
    return taskList_.addTask(ItemKind::Folder, path, EraseStatus::Waiting, 0.0, handle()) >= 0;
}

bool WipewellMainDlg::onDropFiles(const std::vector<std::wstring>& paths)
{
    if (paths.empty())
        return false;
    for (const std::wstring& path : paths) {
        // A missing path counts as a folder here, and addFolder refuses it.
        if (Kestrel::pathIsDirectory(path))
            static_cast<void>(addFolder(path));
        else
            static_cast<void>(addFile(path));
    }
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

// A path that is not whole would be read against this process's current folder, which is not
// the one of the process that handed it in.
bool WipewellMainDlg::addHandedPath(const std::wstring& path)
{
    if (scheduler_.isClosing() || !isWholePath(path) || !Kestrel::pathExists(path))
        return false;
    return Kestrel::pathIsDirectory(path) ? addFolder(path) : addFile(path);
}

bool WipewellMainDlg::onCopyData(HWND, const COPYDATASTRUCT* data)
{
    // Before its set-up the dialog has no list to add to: the sender looks again.
    if (!data || !taskList_.handle())
        return false;
    const std::optional<std::vector<std::wstring>> paths = unpackHandedPaths(*data);
    if (!paths) {
        Kestrel::Logger::instance().log(Kestrel::LogLevel::Error, L"Refused a malformed list of paths. ");
        return false;
    }
    addHandedPaths(*paths);
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
    if (!initialFolder.empty())
        browser.setInitialFolder(initialFolder);
    browser.setOwner(owner);
    if (!browser.browse())
        return false;
    path = browser.selectedPath();
    return true;
}

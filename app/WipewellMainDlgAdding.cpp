#include "app/WipewellMainDlg.h"

#include "app/BrowseForFolder.h"
#include "app/MultiSelectionFileDialog.h"
#include "foundation/PathUtilities.h"

// Adding files and folders: the two buttons and the shell drop. A path that is empty, missing or
// of the other kind is skipped without a word; the same path may be added any number of times.

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

void WipewellMainDlg::onAddFile()
{
    std::vector<std::wstring> paths;
    if (!selectFiles(L"All files(*.*)|*.*|", paths))
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

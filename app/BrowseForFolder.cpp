#include "app/BrowseForFolder.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <memory>

namespace Kestrel {

namespace {

struct ItemListRelease {
    void operator()(ITEMIDLIST* item) const noexcept { CoTaskMemFree(item); }
};
using UniqueItemList = std::unique_ptr<ITEMIDLIST, ItemListRelease>;

// The desktop, the namespace's root, has the empty list. Its path is the user's Desktop folder,
// which one OK on the browser as it opens would otherwise hand back.
bool isNamespaceRoot(const ITEMIDLIST* item) noexcept
{
    return item->mkid.cb == 0;
}

bool hasFileSystemPath(const ITEMIDLIST* item) noexcept
{
    wchar_t path[MAX_PATH]{};
    return SHGetPathFromIDListW(item, path) != FALSE;
}

} // namespace

void BrowseForFolder::setOwner(HWND owner) noexcept
{
    if (owner && IsWindow(owner))
        owner_ = owner;
}

void BrowseForFolder::setInitialFolder(const std::wstring& folder)
{
    if (PathIsDirectoryW(folder.c_str()))
        initialFolder_ = folder;
}

bool BrowseForFolder::browse()
{
    path_.clear();
    wchar_t displayName[MAX_PATH]{};
    BROWSEINFOW description{};
    description.hwndOwner = owner_;
    description.pszDisplayName = displayName;
    description.lpszTitle = title_.c_str();
    description.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    description.lpfn = callback;
    description.lParam = reinterpret_cast<LPARAM>(this);
    const UniqueItemList item(SHBrowseForFolderW(&description));
    if (!item || isNamespaceRoot(item.get()) || !SHGetPathFromIDListW(item.get(), displayName))
        return false;
    path_ = displayName;
    return true;
}

// The browser selects its root as it opens (under Wine it reports that selection with no item at
// all) and turns OK on for any file-system folder, under Wine after it has told this callback.
// Posted, the callback's word comes after the browser's own, so OK is on only while the user's
// choice (or the initial folder) is selected, never for the root.
int CALLBACK BrowseForFolder::callback(HWND browser, UINT message, LPARAM item, LPARAM data) noexcept
{
    const auto* self = reinterpret_cast<const BrowseForFolder*>(data);
    if (message == BFFM_INITIALIZED) {
        PostMessageW(browser, BFFM_ENABLEOK, 0, FALSE);
        if (!self->initialFolder_.empty())
            SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(self->initialFolder_.c_str()));
    } else if (message == BFFM_SELCHANGED) {
        const auto* selected = reinterpret_cast<const ITEMIDLIST*>(item);
        const bool choosable = selected && !isNamespaceRoot(selected) && hasFileSystemPath(selected);
        PostMessageW(browser, BFFM_ENABLEOK, 0, choosable);
    }
    return 0;
}

} // namespace Kestrel

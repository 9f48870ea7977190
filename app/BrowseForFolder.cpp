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
    if (!item || !SHGetPathFromIDListW(item.get(), displayName))
        return false;
    path_ = displayName;
    return true;
}

int CALLBACK BrowseForFolder::callback(HWND browser, UINT message, LPARAM, LPARAM data) noexcept
{
    const auto* self = reinterpret_cast<const BrowseForFolder*>(data);
    if (message == BFFM_INITIALIZED && !self->initialFolder_.empty())
        SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(self->initialFolder_.c_str()));
    return 0;
}

} // namespace Kestrel

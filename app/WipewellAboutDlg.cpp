#include "app/WipewellAboutDlg.h"

#include "foundation/PathUtilities.h"

#include <shlwapi.h>

namespace {

constexpr int kProgramIcon = 128;

} // namespace

std::wstring WipewellAboutDlg::linkTarget()
{
    const std::wstring page = Kestrel::moduleFolder() + L"help\\help.html";
    // Escaping turns a character into at most three.
    std::wstring url(page.size() * 3 + 16, L'\0');
    auto length = static_cast<DWORD>(url.size());
    if (FAILED(UrlCreateFromPathW(page.c_str(), url.data(), &length, 0)))
        return {};
    url.resize(length);
    return url + L"#about";
}

bool WipewellAboutDlg::onInitDialog(HWND, LPARAM)
{
    layout_.capture(handle());
    if (link_.subclassWindow(getDlgItem(IDC_ABOUT_LINK)))
        link_.setHyperLink(linkTarget());
    setIcons();
    static_cast<void>(centerWindow(getParent()));
    return true;
}

void WipewellAboutDlg::onDpiChanged(Kestrel::Dpi dpi, const RECT& suggested)
{
    layout_.apply(handle(), dpi, suggested);
    setIcons();
}

void WipewellAboutDlg::setIcons()
{
    icons_.set(handle(), Kestrel::moduleInstance(), kProgramIcon, layout_.dpi());
    // The picture takes the big icon's size: the template's 20 dialog units are only its place.
    getDlgItem(IDC_ABOUT_ICON).sendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icons_.bigIcon()));
}

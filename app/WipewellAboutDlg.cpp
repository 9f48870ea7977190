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
    if (link_.subclassWindow(getDlgItem(IDC_ABOUT_LINK)))
        link_.setHyperLink(linkTarget());
    const HINSTANCE module = Kestrel::moduleInstance();
    bigIcon_ = Kestrel::loadIcon(module, kProgramIcon, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    smallIcon_ = Kestrel::loadIcon(module, kProgramIcon, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    setIcon(bigIcon_.get(), true);
    setIcon(smallIcon_.get(), false);
    static_cast<void>(centerWindow(getParent()));
    return true;
}

#include "app/WipewellAboutDlg.h"

#include "foundation/PathUtilities.h"

#include <shlwapi.h>

namespace {

constexpr int kProgramIcon = 128;

// Icons of the system's standard sizes, loaded shared: the system owns them, and they last as
// long as the module.
HICON programIcon(int widthMetric, int heightMetric) noexcept
{
    return static_cast<HICON>(LoadImageW(Kestrel::moduleInstance(), MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON,
                                         GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric), LR_SHARED));
}

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
    setIcon(programIcon(SM_CXICON, SM_CYICON), true);
    setIcon(programIcon(SM_CXSMICON, SM_CYSMICON), false);
    static_cast<void>(centerWindow(getParent()));
    return true;
}

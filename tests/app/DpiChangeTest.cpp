#include "tests/app/MainDialogAccess.h"
#include "app/WipewellAboutDlg.h"
#include "app/WipewellMainDlg.h"
#include "framework/GdiObject.h"
#include "resources/AboutDialog.h"

#include <gtest/gtest.h>

namespace {

using Kestrel::Dpi;

RECT placeIn(HWND dialog, int id)
{
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int fontHeight(HWND window)
{
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
}

int iconWidth(LRESULT icon)
{
    ICONINFO info{};
    GetIconInfo(reinterpret_cast<HICON>(icon), &info);
    const Kestrel::Bitmap colour(info.hbmColor);
    const Kestrel::Bitmap mask(info.hbmMask);
    BITMAP shape{};
    GetObjectW(colour.get(), sizeof shape, &shape);
    return shape.bmWidth;
}

TEST(DpiChange, TheMainDialogTakesTheSuggestedPlaceWithControlsIconsAndListAtTheNewDpi)
{
    WipewellMainDlg dialog;
    ASSERT_TRUE(dialog.create(nullptr));
    ASSERT_EQ(Dpi::ofWindow(dialog), Dpi(96));
    const RECT window = dialog.windowRect();
    const RECT list = placeIn(dialog, IDC_TASK_LIST);
    const RECT client = dialog.clientRect();
    const int font = fontHeight(dialog.getDlgItem(IDOK));

    // As Windows suggests it for 150 %: grown around its top-left corner.
    const Dpi dpi(144);
    RECT suggested{window.left, window.top, window.left + dpi.scale(window.right - window.left),
                   window.top + dpi.scale(window.bottom - window.top)};
    dialog.sendMessage(WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT now = dialog.windowRect();
    EXPECT_TRUE(EqualRect(&now, &suggested));
    now = placeIn(dialog, IDC_TASK_LIST);
    // The frame keeps its size, so the client area grows by more than the scale: the list, at
    // its scaled place, stretches by what the client area grew beyond it.
    const RECT grownClient = dialog.clientRect();
    const RECT grown{dpi.scale(list.left), dpi.scale(list.top),
                     dpi.scale(list.right) + grownClient.right - dpi.scale(client.right),
                     dpi.scale(list.bottom) + grownClient.bottom - dpi.scale(client.bottom)};
    EXPECT_TRUE(EqualRect(&now, &grown));
    EXPECT_EQ(fontHeight(dialog.getDlgItem(IDOK)), dpi.scale(font));
    EXPECT_EQ(iconWidth(dialog.sendMessage(WM_GETICON, ICON_SMALL)), 24);
    EXPECT_EQ(iconWidth(dialog.sendMessage(WM_GETICON, ICON_BIG)), 48);
    EXPECT_EQ(MainDialogAccess::taskList(dialog).dpi(), dpi);

    // Back where it was made, everything is as it was made: no rounding creeps in.
    suggested = window;
    dialog.sendMessage(WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
    now = placeIn(dialog, IDC_TASK_LIST);
    EXPECT_TRUE(EqualRect(&now, &list));
    EXPECT_EQ(fontHeight(dialog.getDlgItem(IDOK)), font);
    dialog.destroyWindow();
}

TEST(DpiChange, TheAboutBoxShowsTheIconOfItsNewSize)
{
    WipewellAboutDlg about;
    ASSERT_TRUE(about.create(nullptr));
    RECT suggested = about.windowRect();
    about.sendMessage(WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(iconWidth(about.getDlgItem(IDC_ABOUT_ICON).sendMessage(STM_GETICON)), 64);
    EXPECT_EQ(about.getDlgItem(IDC_ABOUT_ICON).clientRect().right, 64) << "the picture is the icon's size";
    about.destroyWindow();
}

} // namespace

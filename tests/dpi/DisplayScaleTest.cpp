#include "tests/app/MainDialogAccess.h"
#include "tests/support/PixelSurface.h"

#include "app/WipewellAboutDlg.h"
#include "app/WipewellMainDlg.h"
#include "framework/SelectedObject.h"
#include "resources/AboutDialog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <process.h>
#include <string>
#include <vector>

namespace {

using KestrelTest::PixelSurface;

// What the program shows at a display scale: the list's strip of that size, and the program icon
// at the title bar's (small) and the About box's (big) size.
struct Scale {
    DWORD dpi;
    int stripSize;
    UINT stripResource;
    int smallIcon;
    int bigIcon;
};
constexpr Scale kScales[] = {{96, 16, 1010, 16, 32}, {144, 24, 1011, 24, 48}, {192, 32, 1012, 32, 64}};
constexpr const wchar_t* kDpiVariable = L"KWW_TEST_DPI";

// Wine reads the user's LogPixels once, when a process starts (the machine's value is only the
// default for users without one). The value is put back when the object goes, so that the suites
// after this one find the prefix as it was.
class PrefixDpi {
public:
    explicit PrefixDpi(DWORD dpi)
    {
        DWORD size = sizeof before_;
        hadValue_ = RegGetValueW(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_REG_DWORD, nullptr, &before_, &size) == 0;
        set_ = RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, REG_DWORD, &dpi, sizeof dpi) == 0;
    }
    ~PrefixDpi()
    {
        if (hadValue_)
            RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, REG_DWORD, &before_, sizeof before_);
        else
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kValue);
    }
    [[nodiscard]] bool set() const { return set_; }

private:
    static constexpr const wchar_t* kKey = L"Control Panel\\Desktop";
    static constexpr const wchar_t* kValue = L"LogPixels";
    DWORD before_ = 0;
    bool hadValue_ = false;
    bool set_ = false;
};

// Runs this program's AtTheScale tests in a process of their own, which writes where this one
// writes (the runtime hands its standard handles on); its exit code, or -1.
int runAtTheScale(DWORD dpi)
{
    wchar_t self[MAX_PATH]{};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring quoted = L"\"" + std::wstring(self) + L"\"";
    _wputenv_s(kDpiVariable, std::to_wstring(dpi).c_str());
    std::fflush(nullptr);
    const intptr_t code = _wspawnl(_P_WAIT, self, quoted.c_str(), L"--gtest_brief=1", L"--gtest_filter=AtTheScale.*",
                                   nullptr);
    _wputenv_s(kDpiVariable, L"");
    return static_cast<int>(code);
}

// A picture as a generator drew it, read from its resource and never through the code under test:
// its pixels, top row first, none where the background shows through.
struct Picture {
    int size = 0;
    std::vector<std::optional<COLORREF>> pixels;
};

// The program icon's own image of exactly this size (empty when it holds none), drawn on white and
// on black: a pixel that differs is not opaque.
Picture iconPicture(int size)
{
    const HMODULE module = Kestrel::moduleInstance();
    auto data = [module](int id, LPCWSTR type) {
        const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
        return std::pair(found ? static_cast<BYTE*>(LockResource(LoadResource(module, found))) : nullptr,
                         found ? SizeofResource(module, found) : 0);
    };
    BYTE* group = data(IDI_PROGRAM, RT_GROUP_ICON).first;
    const auto [image, bytes] = data(group ? LookupIconIdFromDirectoryEx(group, TRUE, size, size, 0) : 0, RT_ICON);
    if (!image || reinterpret_cast<const BITMAPINFOHEADER*>(image)->biWidth != size)
        return {};
    const Kestrel::IconHandle icon(CreateIconFromResourceEx(image, bytes, TRUE, 0x30000, size, size, 0));
    PixelSurface white(size, size);
    PixelSurface black(size, size);
    Kestrel::DCHandle(white.dc()).fillSolidRect(RECT{0, 0, size, size}, RGB(255, 255, 255));
    Kestrel::DCHandle(black.dc()).fillSolidRect(RECT{0, 0, size, size}, RGB(0, 0, 0));
    DrawIconEx(white.dc(), 0, 0, icon.get(), size, size, 0, nullptr, DI_NORMAL);
    DrawIconEx(black.dc(), 0, 0, icon.get(), size, size, 0, nullptr, DI_NORMAL);
    Picture picture{size, {}};
    for (int pixel = 0; pixel < size * size; ++pixel) {
        const COLORREF colour = white.pixel(pixel % size, pixel / size);
        const bool opaque = colour == black.pixel(pixel % size, pixel / size);
        picture.pixels.push_back(opaque ? std::optional(colour) : std::nullopt);
    }
    return picture;
}

// Image `index` of the scale's strip, magenta where the background shows.
Picture stripPicture(const Scale& scale, int index)
{
    const Kestrel::Bitmap strip(static_cast<HBITMAP>(
        LoadImageW(Kestrel::moduleInstance(), MAKEINTRESOURCEW(scale.stripResource), IMAGE_BITMAP, 0, 0, 0)));
    const Kestrel::MemoryDC dc(nullptr);
    const Kestrel::SelectedObject selected(dc.get(), strip.get());
    Picture picture{scale.stripSize, {}};
    for (int pixel = 0; pixel < picture.size * picture.size; ++pixel) {
        const COLORREF colour = GetPixel(dc.get(), index * picture.size + pixel % picture.size, pixel / picture.size);
        picture.pixels.push_back(colour == RGB(255, 0, 255) ? std::nullopt : std::optional(colour));
    }
    return picture;
}

// Whether the picture's opaque pixels show somewhere in the area of the surface.
bool shows(const PixelSurface& surface, const Picture& picture, const RECT& area)
{
    auto at = [&](int left, int top) {
        for (int pixel = 0; pixel < picture.size * picture.size; ++pixel) {
            const auto& colour = picture.pixels[static_cast<std::size_t>(pixel)];
            if (colour && surface.pixel(left + pixel % picture.size, top + pixel / picture.size) != *colour)
                return false;
        }
        return true;
    };
    for (int top = area.top; top + picture.size <= area.bottom; ++top) {
        for (int left = area.left; left + picture.size <= area.right; ++left) {
            if (at(left, top))
                return true;
        }
    }
    return false;
}

// The window's client area as it paints it.
std::unique_ptr<PixelSurface> rendered(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    auto surface = std::make_unique<PixelSurface>(client.right, client.bottom);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface->dc()), PRF_CLIENT);
    return surface;
}

// Each scale in a process started at it; this one only starts them.
TEST(DisplayScales, TheProgramIsWholeAndSharpAt100And150And200Percent)
{
    for (const Scale& scale : kScales) {
        const PrefixDpi prefix(scale.dpi);
        ASSERT_TRUE(prefix.set());
        EXPECT_EQ(runAtTheScale(scale.dpi), 0) << "at " << scale.dpi << " DPI";
    }
}

// The main dialog with the screenshot's five rows, one in each status.
class AtTheScale : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t dpi[8]{};
        if (!GetEnvironmentVariableW(kDpiVariable, dpi, 8))
            GTEST_SKIP() << "runs in the processes that DisplayScales starts";
        for (const Scale& each : kScales) {
            if (each.dpi == std::wcstoul(dpi, nullptr, 10))
                scale = each;
        }
        ASSERT_EQ(Kestrel::Dpi::ofSystem().value(), scale.dpi) << "the prefix's DPI did not reach this process";
        ASSERT_TRUE(dialog.create(nullptr));
        ASSERT_EQ(list.dpi().value(), scale.dpi);
        const struct {
            const wchar_t* name;
            EraseStatus status;
        } rows[] = {{L"stopped.txt", EraseStatus::Aborted}, {L"erased.txt", EraseStatus::Done},
                    {L"locked.txt", EraseStatus::Failed}, {L"large.bin", EraseStatus::InProgress},
                    {L"waiting.txt", EraseStatus::Waiting}};
        for (const auto& row : rows)
            list.addTask(ItemKind::File, std::wstring(L"Z:\\tmp\\kww-screenshot.WmWmWm\\") + row.name, row.status,
                         42.5, dialog);
    }
    void TearDown() override { dialog.destroyWindow(); }

    int textWidth(const std::wstring& text)
    {
        const Kestrel::ClientDC dc(list);
        const Kestrel::SelectedObject font(dc.get(), list.getItemFont(0, 0));
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

    Scale scale{};
    WipewellMainDlg dialog;
    ErasingTasksListCtrl& list = MainDialogAccess::taskList(dialog);
};

TEST_F(AtTheScale, NoTextIsCutAndTheColumnsFillTheList)
{
    int total = 0;
    for (int position = 0; position < list.columnCount(); ++position) {
        const Kestrel::ListColumn& column = *list.column(Kestrel::ColumnPosition(position));
        total += column.width;
        const RECT title = list.headerTextRect(Kestrel::ColumnPosition(position));
        EXPECT_LT(textWidth(column.title), title.right - title.left) << "header " << position;
        for (int row = 0; row < list.getItemCount(); ++row) {
            const std::wstring text = list.getItemText(row, column.id.value());
            const RECT room = list.textRect(row, Kestrel::ColumnPosition(position));
            if (!text.empty() && column.format != Kestrel::FormatProgress) {
                EXPECT_LT(textWidth(text), room.right - room.left) << "row " << row << ", column " << position;
            }
        }
    }
    EXPECT_EQ(total, list.clientRect().right);
}

// Each button's text fits inside its frame, and the buttons stand apart inside the window.
TEST_F(AtTheScale, EveryButtonShowsItsWholeTextBesideTheOthers)
{
    RECT client{};
    GetClientRect(dialog, &client);
    std::vector<RECT> placed;
    for (const int id : {IDC_ADD_FILE, IDC_ADD_FOLDER, IDC_ADD_FREE_SPACE, IDC_ADD_RECYCLE_BIN, IDC_STOP_SELECTED, IDOK,
                         IDC_SHOW_HELP, ID_APP_ABOUT}) {
        const HWND button = dialog.getDlgItem(id);
        ASSERT_NE(button, nullptr) << id;
        wchar_t text[64]{};
        GetWindowTextW(button, text, 64);
        const Kestrel::ClientDC dc(button);
        const Kestrel::SelectedObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)));
        RECT needed{};
        DrawTextW(dc.get(), text, -1, &needed, DT_CALCRECT | DT_SINGLELINE | DT_HIDEPREFIX);
        RECT frame{};
        GetWindowRect(button, &frame);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&frame), 2);
        // The push button's edge and focus rectangle take about 3 pixels a side at 96 DPI.
        const int edges = 2 * Kestrel::Dpi(scale.dpi).scale(3);
        EXPECT_LT(needed.right - needed.left + edges, frame.right - frame.left) << "button " << id;
        RECT overlap{};
        RECT inside{};
        EXPECT_TRUE(IntersectRect(&inside, &frame, &client) && EqualRect(&inside, &frame)) << "button " << id;
        for (const RECT& other : placed)
            EXPECT_FALSE(IntersectRect(&overlap, &frame, &other)) << "button " << id;
        placed.push_back(frame);
    }
}

// Grown, the window gives the room to the list and its Path column (also one widened by hand), the
// buttons keeping to their corners and Cancel in view; maximised likewise; at its smallest every
// button stays whole.
TEST_F(AtTheScale, TheResizedWindowGivesTheRoomToTheListAndKeepsItsButtonsInPlace)
{
    auto place = [this](int id) {
        RECT rect{};
        GetWindowRect(dialog.getDlgItem(id), &rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    };
    auto columnsFillTheList = [this] {
        const Kestrel::ListColumn& action = *list.column(Kestrel::ColumnPosition(3));
        const RECT cancel = list.cellRect(4, Kestrel::ColumnPosition(3));
        return action.title == L"Action" && cancel.right == list.clientRect().right && cancel.left > 0;
    };
    ASSERT_TRUE(columnsFillTheList());
    const int growth = Kestrel::Dpi(scale.dpi).scale(300);
    const RECT window = dialog.windowRect();
    const RECT made = dialog.clientRect();
    const RECT addFile = place(IDC_ADD_FILE), erase = place(IDOK), about = place(ID_APP_ABOUT),
               taskList = place(IDC_TASK_LIST), reason = place(IDC_ROW_REASON);
    const int pathWidth = list.column(Kestrel::ColumnPosition(0))->width;
    // A Path column widened by its divider pushes Cancel out of view until the window is resized.
    list.setColumnWidth(Kestrel::ColumnPosition(0), pathWidth * 2);
    EXPECT_FALSE(columnsFillTheList());

    ASSERT_TRUE(SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left + growth,
                             window.bottom - window.top + growth, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
    // The screen may hold less than asked at the larger scales: the growth is what the window got.
    const int wider = dialog.clientRect().right - made.right;
    const int taller = dialog.clientRect().bottom - made.bottom;
    ASSERT_GT(wider, 0);
    ASSERT_GT(taller, 0);
    auto moved = [&](const RECT& before, int id, int right, int down, int wider, int taller) {
        const RECT now = place(id);
        const RECT expected{before.left + right, before.top + down, before.right + right + wider,
                            before.bottom + down + taller};
        return EqualRect(&now, &expected) != FALSE;
    };
    EXPECT_TRUE(moved(addFile, IDC_ADD_FILE, 0, 0, 0, 0));
    EXPECT_TRUE(moved(erase, IDOK, wider, 0, 0, 0));
    EXPECT_TRUE(moved(about, ID_APP_ABOUT, wider, taller, 0, 0));
    EXPECT_TRUE(moved(taskList, IDC_TASK_LIST, 0, 0, wider, taller));
    EXPECT_TRUE(moved(reason, IDC_ROW_REASON, 0, taller, wider, 0));
    EXPECT_EQ(list.column(Kestrel::ColumnPosition(0))->width, pathWidth + wider);
    EXPECT_TRUE(columnsFillTheList());

    dialog.showWindow(SW_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(dialog));
    EXPECT_TRUE(columnsFillTheList());
    RECT client = dialog.clientRect();
    EXPECT_EQ(client.right - place(ID_APP_ABOUT).right, made.right - about.right);
    EXPECT_EQ(client.bottom - place(ID_APP_ABOUT).bottom, made.bottom - about.bottom);
    EXPECT_EQ(client.right - place(IDC_TASK_LIST).right, made.right - taskList.right);
    dialog.showWindow(SW_RESTORE);

    MINMAXINFO limits{};
    dialog.sendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    ASSERT_GT(limits.ptMinTrackSize.y, 0);
    ASSERT_TRUE(SetWindowPos(dialog, nullptr, 0, 0, limits.ptMinTrackSize.x, limits.ptMinTrackSize.y,
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
    EXPECT_LT(dialog.windowRect().bottom - dialog.windowRect().top, window.bottom - window.top);
    client = dialog.clientRect();
    std::vector<RECT> placed;
    for (const int id : {IDC_ADD_FILE, IDC_ADD_FOLDER, IDC_ADD_FREE_SPACE, IDC_ADD_RECYCLE_BIN, IDC_STOP_SELECTED, IDOK,
                         IDC_SHOW_HELP, ID_APP_ABOUT, IDC_TASK_LIST, IDC_ROW_REASON}) {
        const RECT frame = place(id);
        RECT inside{};
        EXPECT_TRUE(IntersectRect(&inside, &frame, &client) && EqualRect(&inside, &frame)) << "control " << id;
        for (const RECT& other : placed)
            EXPECT_FALSE(IntersectRect(&inside, &frame, &other)) << "control " << id;
        placed.push_back(frame);
    }
    EXPECT_GE(list.visibleItemCount(), 3);
    EXPECT_TRUE(columnsFillTheList());
}

TEST_F(AtTheScale, RowIconsTitleBarAndAboutBoxShowTheGeneratorsImagesOfTheirSize)
{
    list.addTask(ItemKind::Folder, L"Z:\\tmp\\folder", EraseStatus::Waiting, 0.0, dialog);
    list.addTask(ItemKind::FreeSpace, L"Z:\\", EraseStatus::Waiting, 0.0, dialog);
    list.addTask(ItemKind::RecycleBin, L"Recycle Bin (12 items, 340 MB)", EraseStatus::Waiting, 0.0, dialog);
    const auto rows = rendered(list);
    EXPECT_TRUE(shows(*rows, stripPicture(scale, ErasingTasksListCtrl::kFileImage), list.cellRect(0, Kestrel::ColumnPosition(0))));
    EXPECT_TRUE(shows(*rows, stripPicture(scale, ErasingTasksListCtrl::kFolderImage), list.cellRect(5, Kestrel::ColumnPosition(0))));
    EXPECT_TRUE(shows(*rows, stripPicture(scale, ErasingTasksListCtrl::kFreeSpaceImage), list.cellRect(6, Kestrel::ColumnPosition(0))));
    EXPECT_FALSE(shows(*rows, stripPicture(scale, ErasingTasksListCtrl::kFreeSpaceImage), list.cellRect(5, Kestrel::ColumnPosition(0))));
    EXPECT_TRUE(shows(*rows, stripPicture(scale, ErasingTasksListCtrl::kRecycleBinImage), list.cellRect(7, Kestrel::ColumnPosition(0))));

    const Picture bigIcon = iconPicture(scale.bigIcon);
    const Picture smallIcon = iconPicture(scale.smallIcon);
    ASSERT_TRUE(bigIcon.size && smallIcon.size) << "the icon holds no image for " << scale.dpi << " DPI";
    // The title bar's icon, drawn at its own size (a smaller one leaves black where it ends).
    PixelSurface title(smallIcon.size, smallIcon.size);
    DrawIconEx(title.dc(), 0, 0, reinterpret_cast<HICON>(dialog.sendMessage(WM_GETICON, ICON_SMALL)), 0, 0, 0,
               nullptr, DI_NORMAL);
    EXPECT_TRUE(shows(title, smallIcon, RECT{0, 0, smallIcon.size, smallIcon.size}));
    WipewellAboutDlg about;
    ASSERT_TRUE(about.create(dialog));
    EXPECT_TRUE(shows(*rendered(about.getDlgItem(IDC_ABOUT_ICON)), bigIcon, RECT{0, 0, bigIcon.size, bigIcon.size}));
    about.destroyWindow();
}

} // namespace

#include "app/DropFileTarget.h"
#include "framework/CWindowImpl.h"
#include "framework/DeviceContext.h"
#include "framework/SelectedObject.h"
#include "listctrl/CDropArrows.h"
#include "listctrl/CListImpl.h"
#include "listctrl/ole/CDataObjectT.h"
#include "listctrl/ole/CDropSource.h"
#include "listctrl/ole/GlobalMemory.h"
#include "tests/support/MessagePump.h"
#include "tests/support/InputScript.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace Kestrel;
using KestrelTest::InputScript;

constexpr int kColumnWidth = 80;

// Two rows; the texts of row 0 are recorded in the order the list asks for them.
class DragList : public CListImpl<DragList> {
public:
    int getItemCount() { return 2; }
    std::wstring getItemText(int item, int subItem)
    {
        if (item == 0)
            askedSubItems.push_back(subItem);
        return L"cell " + std::to_wstring(item) + L"." + std::to_wstring(subItem);
    }
    std::vector<int> askedSubItems;
};

// Stands in for the main dialog: records the list's notifications and takes dropped files with
// the dialog's own shell-drop handler.
class ListParent : public CWindowImpl<ListParent>, public DropFileTarget<ListParent> {
public:
    static constexpr auto messageMap()
    {
        return messageMapOf<ListParent>(onMessage<WM_NOTIFY, &ListParent::onNotify>,
                                        chainTo<DropFileTarget<ListParent>>);
    }
    bool onDropFiles(const std::vector<std::wstring>& paths)
    {
        dropped = paths;
        return true;
    }
    std::vector<ListNotifyInfo> notifications;
    std::vector<std::wstring> dropped;

private:
    LRESULT onNotify(WPARAM, LPARAM lParam)
    {
        notifications.push_back(*reinterpret_cast<const ListNotifyInfo*>(lParam));
        return 0;
    }
};

// The data of a shell drag of files: only what SetData stored.
struct NothingToRender {
    bool renderDragData(const FORMATETC&, STGMEDIUM&) noexcept { return false; }
};

struct ArrowSearch {
    HWND list;
    HWND found = nullptr;
};

BOOL CALLBACK isArrowsOf(HWND window, LPARAM context)
{
    auto& search = *reinterpret_cast<ArrowSearch*>(context);
    RECT rect{};
    GetWindowRect(window, &rect);
    if (GetWindow(window, GW_OWNER) == GetAncestor(search.list, GA_ROOT) && rect.right - rect.left == CDropArrows::width)
        search.found = window;
    return search.found == nullptr;
}

// The list's insertion arrows: a popup as wide as they are, owned (as popups are) by the list's
// top-level window.
HWND findArrows(HWND list)
{
    ArrowSearch search{list};
    EnumThreadWindows(GetCurrentThreadId(), isArrowsOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class ListDragDropTest : public testing::Test {
protected:
    void SetUp() override
    {
        // OLE, as the program initialises its user-interface thread.
        ASSERT_EQ(OleInitialize(nullptr), S_OK);
        liveAtStart = ComRefCount::liveObjects();
        // Shown without activation and before it owns any popup, the window stays unmanaged
        // under Wine, whose wait for a window manager would make its destruction slow.
        ASSERT_TRUE(parent.create(nullptr, RECT{100, 100, 600, 400}, L"", WS_POPUP));
        parent.showWindow(SW_SHOWNOACTIVATE);
        ASSERT_TRUE(list.create(parent, RECT{10, 10, 410, 210}, L"", WS_CHILD | WS_VISIBLE));
        for (const wchar_t* title : {L"Zero", L"One", L"Two", L"Three"})
            list.addColumn(title, kColumnWidth);
        list.updateWindow();
        arrows = findArrows(list);
        ASSERT_NE(arrows, nullptr);
    }
    void TearDown() override
    {
        // The real cursor goes out of the way of the windows other tests make.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        parent.destroyWindow();
        EXPECT_EQ(ComRefCount::liveObjects(), liveAtStart) << "the list's drag and drop objects leaked";
        OleUninitialize();
    }

    // A point of the header, or of a row, in screen coordinates.
    POINT onHeader(int x) const { return toScreen(POINT{x, list.headerHeight() / 2}); }
    POINT onRow(int x) const { return toScreen(POINT{x, list.headerHeight() + list.rowHeight() / 2}); }
    POINT toScreen(POINT client) const
    {
        ClientToScreen(list, &client);
        return client;
    }

    std::vector<int> columnIds() const
    {
        std::vector<int> ids;
        for (int position = 0; position < list.columnCount(); ++position)
            ids.push_back(list.columnId(ColumnPosition(position)).value());
        return ids;
    }

    // Drags the header from one x to another, noting after each move whether the arrows showed
    // and where.
    void dragHeader(int fromX, std::vector<int> overX)
    {
        std::vector<InputScript::Step> steps{[=, this] { InputScript::pressLeft(onHeader(fromX)); },
                                             [=, this] { InputScript::moveTo(onHeader(fromX + 8)); }};
        for (const int x : overX) {
            steps.push_back([=, this] { InputScript::moveTo(onHeader(x)); });
            steps.push_back([this] { noteArrows(); });
        }
        steps.push_back([=, this] { InputScript::releaseLeft(onHeader(overX.back())); });
        InputScript script(std::move(steps));
        ASSERT_TRUE(script.play());
    }
    void noteArrows()
    {
        arrowsShown.push_back(IsWindowVisible(arrows) != FALSE);
        RECT rect{};
        GetWindowRect(arrows, &rect);
        arrowRects.push_back(rect);
    }

    long liveAtStart = 0;
    ListParent parent;
    DragList list;
    HWND arrows = nullptr;
    std::vector<bool> arrowsShown;
    std::vector<RECT> arrowRects;
};

TEST_F(ListDragDropTest, ColumnDraggedToTheEndLandsLastAndKeepsItsIdentifier)
{
    dragHeader(kColumnWidth / 2, {3 * kColumnWidth + 60});

    EXPECT_EQ(columnIds(), (std::vector<int>{1, 2, 3, 0}));
    ASSERT_EQ(arrowsShown, std::vector<bool>{true});
    const POINT gap = onHeader(4 * kColumnWidth);
    EXPECT_EQ(arrowRects[0].left, gap.x - CDropArrows::width / 2) << "at the right edge of the last column";
    EXPECT_EQ((arrowRects[0].top + arrowRects[0].bottom) / 2, gap.y);
    EXPECT_FALSE(IsWindowVisible(arrows)) << "hidden after the drop";

    // Painting asks for the cells by identifier, in the new order.
    list.askedSubItems.clear();
    {
        const ClientDC screen(list);
        const MemoryDC memory(screen.get());
        const Bitmap bitmap(CreateCompatibleBitmap(screen.get(), 400, 200));
        const SelectedObject selected(memory.get(), bitmap.get());
        list.sendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
    }
    ASSERT_GE(list.askedSubItems.size(), 4u);
    EXPECT_EQ(std::vector<int>(list.askedSubItems.begin(), list.askedSubItems.begin() + 4), (std::vector<int>{1, 2, 3, 0}));

    // A click in the last column reports the column it was added as.
    const POINT cell{3 * kColumnWidth + 20, list.headerHeight() + list.rowHeight() / 2};
    parent.notifications.clear();
    list.sendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell.x, cell.y));
    list.sendMessage(WM_LBUTTONUP, 0, MAKELPARAM(cell.x, cell.y));
    ASSERT_FALSE(parent.notifications.empty());
    EXPECT_EQ(parent.notifications.back().header.code, static_cast<UINT>(LeftClick));
    EXPECT_EQ(parent.notifications.back().subItem, 0);
}

TEST_F(ListDragDropTest, DropOnItsOwnPlaceChangesNothingAndShowsNoArrows)
{
    // Left of its own middle, right of it, and left of the next column's middle: the gaps on both
    // sides of the column itself.
    dragHeader(kColumnWidth + 20, {kColumnWidth + 10, kColumnWidth + 70, 2 * kColumnWidth + 30});

    EXPECT_EQ(columnIds(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(arrowsShown, (std::vector<bool>{false, false, false}));
}

TEST_F(ListDragDropTest, FilesDroppedOverTheListReachTheParentInShellOrder)
{
    DragAcceptFiles(parent, TRUE);
    // The second path is longer than MAX_PATH: it must arrive whole, not cut to another name.
    const std::vector<std::wstring> paths{L"C:\\first.txt", L"C:\\" + std::wstring(300, L'x'), L"C:\\third.doc"};
    std::vector<unsigned char> block(sizeof(DROPFILES));
    for (const std::wstring& path : paths) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(path.c_str());
        block.insert(block.end(), bytes, bytes + (path.size() + 1) * sizeof(wchar_t));
    }
    block.insert(block.end(), sizeof(wchar_t), 0);
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    std::memcpy(block.data(), &header, sizeof header);

    NothingToRender source;
    const ComPtr<CDataObject> data = makeComObject<CDataObjectT<NothingToRender>>(source);
    FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{TYMED_HGLOBAL, {}, nullptr};
    medium.hGlobal = copyToGlobalMemory(block.data(), block.size()).release();
    ASSERT_EQ(data->SetData(&format, &medium, TRUE), S_OK);
    const ComPtr<CDropSource> dropSource = makeComObject<CDropSource>();

    DWORD effect = DROPEFFECT_NONE;
    const POINT over = onRow(100);
    InputScript script({[&] { InputScript::moveTo(POINT{over.x + 5, over.y}); },
                        [&] { InputScript::moveTo(over); },
                        [&] { InputScript::releaseLeft(over); }});
    // The drag starts beside the list, as one from the shell would come in from outside.
    POINT beside{450, 50};
    ClientToScreen(parent, &beside);
    InputScript::pressLeft(beside);
    ASSERT_TRUE(KestrelTest::pumpUntil([] { return GetKeyState(VK_LBUTTON) < 0; }));
    script.start();
    const HRESULT dragged = DoDragDrop(data.get(), dropSource.get(), DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
    ASSERT_EQ(dragged, DRAGDROP_S_DROP);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));

    // The same list dropped on the parent itself, as the shell does.
    const std::vector<std::wstring> viaList = std::move(parent.dropped);
    parent.dropped.clear();
    parent.sendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(copyToGlobalMemory(block.data(), block.size()).release()));
    EXPECT_EQ(viaList, parent.dropped);
    EXPECT_EQ(viaList, (std::vector<std::wstring>{paths.rbegin(), paths.rend()}));
}

} // namespace

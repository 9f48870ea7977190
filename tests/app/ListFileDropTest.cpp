#include "tests/app/MainDialogAccess.h"
#include "tests/app/ShellDrop.h"
#include "tests/support/InputScript.h"
#include "tests/support/MessagePump.h"
#include "tests/support/ScratchFolder.h"

#include "app/WipewellMainDlg.h"
#include "listctrl/ole/CDataObjectT.h"
#include "listctrl/ole/CDropSource.h"

#include <gtest/gtest.h>
#include <ole2.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using KestrelTest::InputScript;
using Row = std::pair<ItemKind, std::wstring>;

// A shell drag's data: only the file list stored in it.
struct NothingToRender {
    bool renderDragData(const FORMATETC&, STGMEDIUM&) noexcept { return false; }
};

class ListFileDrop : public ::testing::Test {
protected:
    void SetUp() override
    {
        // OLE, as the program starts: the task list registers as a drop target.
        ASSERT_EQ(OleInitialize(nullptr), S_OK);
        ASSERT_TRUE(dialog_.create(nullptr));
        dialog_.showWindow(SW_SHOWNOACTIVATE);
        dialog_.updateWindow();
    }
    void TearDown() override
    {
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        dialog_.destroyWindow();
        OleUninitialize();
    }

    std::vector<Row> rows()
    {
        std::vector<Row> rows;
        EraseTask task;
        for (int row = 0; MainDialogAccess::taskList(dialog_).copyTask(row, task); ++row)
            rows.emplace_back(task.kind(), task.path());
        return rows;
    }

    // Drags the file list from the dialog's corner onto the task list's rows and drops it there,
    // as the shell would with real mouse input; the drop's effect.
    DWORD dragOntoTaskList(HGLOBAL files)
    {
        NothingToRender nothing;
        const auto data = Kestrel::makeComObject<Kestrel::CDataObjectT<NothingToRender>>(nothing);
        const auto source = Kestrel::makeComObject<Kestrel::CDropSource>();
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{TYMED_HGLOBAL, {}, nullptr};
        medium.hGlobal = files;
        EXPECT_EQ(data->SetData(&format, &medium, TRUE), S_OK);

        POINT corner{3, 3};
        ClientToScreen(dialog_, &corner);
        POINT onRows{60, MainDialogAccess::taskList(dialog_).headerHeight() + 10};
        ClientToScreen(MainDialogAccess::taskList(dialog_), &onRows);
        InputScript::pressLeft(corner);
        EXPECT_TRUE(KestrelTest::pumpUntil([] { return GetKeyState(VK_LBUTTON) < 0; }));
        InputScript script({[&] { InputScript::moveTo(POINT{onRows.x + 5, onRows.y}); },
                            [&] { InputScript::moveTo(onRows); },
                            [&] { InputScript::releaseLeft(onRows); }});
        script.start();
        // The shell, the source here, runs its drags with OLE initialised.
        EXPECT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        DWORD effect = DROPEFFECT_NONE;
        EXPECT_EQ(DoDragDrop(data.get(), source.get(), DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect), DRAGDROP_S_DROP);
        OleUninitialize();
        return effect;
    }

    KestrelTest::ScratchFolder folder_;
    WipewellMainDlg dialog_;
};

TEST_F(ListFileDrop, FilesDroppedOnTheTaskListAreAddedAsADropOnTheDialogAddsThem)
{
    const std::wstring a = folder_ / L"A.txt";
    const std::wstring b = folder_ / L"B.txt";
    const std::wstring c = folder_ / L"C";
    ASSERT_TRUE(KestrelTest::writeFile(a, "a"));
    ASSERT_TRUE(KestrelTest::writeFile(b, "b"));
    ASSERT_TRUE(CreateDirectoryW(c.c_str(), nullptr));
    const std::vector<std::wstring> dropped{a, b, c};

    EXPECT_EQ(dragOntoTaskList(KestrelTest::shellDrop(dropped)), static_cast<DWORD>(DROPEFFECT_COPY));
    const std::vector<Row> overList = rows();
    EXPECT_EQ(overList, (std::vector<Row>{{ItemKind::Folder, c}, {ItemKind::File, b}, {ItemKind::File, a}}));

    dialog_.sendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(KestrelTest::shellDrop(dropped)));
    const std::vector<Row> both = rows();
    ASSERT_EQ(both.size(), 6u);
    EXPECT_EQ(std::vector<Row>(both.begin() + 3, both.end()), overList) << "a drop beside the list adds the same rows";
}

} // namespace

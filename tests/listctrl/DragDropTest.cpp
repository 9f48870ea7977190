#include "framework/CWindowImpl.h"
#include "framework/DeviceContext.h"
#include "framework/SelectedObject.h"
#include "listctrl/CDropArrows.h"
#include "listctrl/ole/CDragDrop.h"
#include "listctrl/ole/CEnumFormatEtc.h"
#include "listctrl/ole/FileDropHandOver.h"
#include "listctrl/ole/GlobalMemory.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace Kestrel;

const CLIPFORMAT kPrivateFormat = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"KestrelDragDropTest"));

FORMATETC formatOf(CLIPFORMAT format, DWORD tymed = TYMED_HGLOBAL)
{
    return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, tymed};
}

// A CF_HDROP block as the shell makes it: the paths after the header, each ended, then an end.
GlobalMemory fileList(const std::vector<std::wstring>& paths)
{
    std::vector<unsigned char> bytes(sizeof(DROPFILES));
    for (const std::wstring& path : paths) {
        const auto* begin = reinterpret_cast<const unsigned char*>(path.c_str());
        bytes.insert(bytes.end(), begin, begin + (path.size() + 1) * sizeof(wchar_t));
    }
    bytes.insert(bytes.end(), sizeof(wchar_t), 0);
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    std::memcpy(bytes.data(), &header, sizeof header);
    return copyToGlobalMemory(bytes.data(), bytes.size());
}

// The list's parent; a test makes it take dropped files (DragAcceptFiles) when it needs that.
class Parent : public CWindowImpl<Parent> {
public:
    static constexpr auto messageMap() { return messageMapOf<Parent>(); }
};

// A list as the drop target and data object see it: it takes copies and moves, and renders its
// format as its own window handle.
class TestList : public CWindowImpl<TestList> {
public:
    static constexpr auto messageMap() { return messageMapOf<TestList>(); }

    DWORD queryDropEffect(const FORMATETC&, const STGMEDIUM&, DWORD, POINT point) noexcept
    {
        ++queries;
        lastPoint = point;
        return DROPEFFECT_COPY | DROPEFFECT_MOVE;
    }
    void endDropHover() noexcept { ++leaves; }
    bool dropData(const FORMATETC&, const STGMEDIUM&, DWORD effect, POINT) noexcept
    {
        droppedEffect = effect;
        return !refuseDrops;
    }
    bool renderDragData(const FORMATETC&, STGMEDIUM& medium) noexcept
    {
        const HWND window = handle();
        medium.tymed = TYMED_HGLOBAL;
        medium.hGlobal = copyToGlobalMemory(&window, sizeof window).release();
        return medium.hGlobal != nullptr;
    }

    int queries = 0;
    int leaves = 0;
    POINT lastPoint{};
    DWORD droppedEffect = DROPEFFECT_NONE;
    bool refuseDrops = false;
};

class DragDropTest : public testing::Test {
protected:
    void SetUp() override
    {
        // OLE, as the program initialises its user-interface thread: a drag needs it.
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        liveAtStart = ComRefCount::liveObjects();
        ASSERT_TRUE(parent.create(nullptr, RECT{100, 100, 500, 400}, L"parent", WS_OVERLAPPEDWINDOW));
        ASSERT_TRUE(list.create(parent, RECT{10, 10, 310, 210}, L"", WS_CHILD | WS_VISIBLE));
    }
    void TearDown() override
    {
        parent.destroyWindow();
        EXPECT_EQ(ComRefCount::liveObjects(), liveAtStart) << "a COM object leaked";
        OleUninitialize();
    }

    ComPtr<CDataObject> makeData() { return makeComObject<CDataObjectT<TestList>>(list); }
    ComPtr<CDropTarget> makeTarget() { return makeComObject<CDropTargetT<TestList>>(list, list.handle()); }

    // Enters the target with the data, or drops it, at client point (50, 60) as OLE does.
    DWORD enter(CDropTarget& target, IDataObject* data, DWORD keys, DWORD allowed = kAnyEffect)
    {
        return call(&CDropTarget::DragEnter, target, data, keys, allowed);
    }
    DWORD drop(CDropTarget& target, IDataObject* data, DWORD keys) { return call(&CDropTarget::Drop, target, data, keys, kAnyEffect); }
    template <typename Method>
    DWORD call(Method method, CDropTarget& target, IDataObject* data, DWORD keys, DWORD allowed)
    {
        POINT screen{50, 60};
        ClientToScreen(list, &screen);
        EXPECT_EQ((target.*method)(data, keys, POINTL{screen.x, screen.y}, &allowed), S_OK);
        return allowed;
    }
    static constexpr DWORD kAnyEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

    long liveAtStart = 0;
    Parent parent;
    TestList list;
};

TEST_F(DragDropTest, ObjectsAnswerTheirInterfacesAndReleaseThemselves)
{
    const ComPtr<CDropSource> source = makeComObject<CDropSource>();
    const ComPtr<CDataObject> data = makeData();
    const ComPtr<CDropTarget> target = makeTarget();
    const ComPtr<CEnumFormatEtc> formats = makeComObject<CEnumFormatEtc>(std::vector<FORMATETC>{});
    EXPECT_EQ(ComRefCount::liveObjects(), liveAtStart + 4);

    const auto answers = [](IUnknown* object, REFIID id) {
        ComPtr<IUnknown> answer;
        const HRESULT result = object->QueryInterface(id, answer.putVoid());
        EXPECT_EQ(result == S_OK, answer.get() != nullptr);
        return result == S_OK;
    };
    EXPECT_TRUE(answers(source.get(), IID_IDropSource));
    EXPECT_TRUE(answers(data.get(), IID_IDataObject));
    EXPECT_TRUE(answers(target.get(), IID_IDropTarget));
    EXPECT_TRUE(answers(formats.get(), IID_IEnumFORMATETC));
    for (IUnknown* object : std::initializer_list<IUnknown*>{source.get(), data.get(), target.get(), formats.get()})
        EXPECT_TRUE(answers(object, IID_IUnknown));
    EXPECT_FALSE(answers(source.get(), IID_IDataObject));
    EXPECT_FALSE(answers(data.get(), IID_IDropTarget));
    EXPECT_FALSE(answers(target.get(), IID_IDropSource));
    EXPECT_EQ(data->QueryInterface(IID_IDataObject, nullptr), E_POINTER);

    // Each answer held a reference of its own; the owners' are the only ones left.
    EXPECT_EQ(data->AddRef(), 2u);
    EXPECT_EQ(data->Release(), 1u);

    EXPECT_EQ(source->QueryContinueDrag(TRUE, MK_LBUTTON), DRAGDROP_S_CANCEL);
    EXPECT_EQ(source->QueryContinueDrag(FALSE, MK_RBUTTON), S_OK);
    EXPECT_EQ(source->QueryContinueDrag(FALSE, MK_CONTROL), DRAGDROP_S_DROP);
    EXPECT_EQ(source->GiveFeedback(DROPEFFECT_MOVE), DRAGDROP_S_USEDEFAULTCURSORS);
}

TEST_F(DragDropTest, DataObjectRendersOnDemandAndAnswersQueriesAsOleAsks)
{
    const ComPtr<CDataObject> data = makeData();
    ASSERT_TRUE(data->offerFormat(kPrivateFormat));

    FORMATETC request = formatOf(kPrivateFormat);
    StorageMedium medium;
    ASSERT_EQ(data->GetData(&request, medium.put()), S_OK);
    {
        const GlobalLockScope view(medium.get().hGlobal);
        ASSERT_GE(view.size(), sizeof(HWND));
        EXPECT_EQ(*static_cast<HWND*>(view.data()), list.handle());
    }
    EXPECT_EQ(data->QueryGetData(&request), S_OK);
    FORMATETC wrongAspect = request;
    wrongAspect.dwAspect = DVASPECT_ICON;
    EXPECT_EQ(data->QueryGetData(&wrongAspect), DV_E_DVASPECT);
    FORMATETC wrongMedium = formatOf(kPrivateFormat, TYMED_ISTREAM);
    EXPECT_EQ(data->QueryGetData(&wrongMedium), DV_E_TYMED);
    FORMATETC wrongFormat = formatOf(CF_HDROP);
    EXPECT_EQ(data->QueryGetData(&wrongFormat), DV_E_FORMATETC);
    EXPECT_EQ(data->GetData(&wrongFormat, medium.put()), DV_E_FORMATETC);
    EXPECT_EQ(medium.get().tymed, static_cast<DWORD>(TYMED_NULL));

    IEnumFORMATETC* none = reinterpret_cast<IEnumFORMATETC*>(1);
    EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, &none), E_NOTIMPL);
    EXPECT_EQ(none, nullptr);

    // Data set with its ownership handed over comes back as a copy; a second SetData of the
    // format replaces the first, as the drag-image helper's data must for every new drag.
    for (const int value : {7, 8}) {
        STGMEDIUM given{TYMED_HGLOBAL, {}, nullptr};
        given.hGlobal = copyToGlobalMemory(&value, sizeof value).release();
        ASSERT_EQ(data->SetData(&wrongFormat, &given, TRUE), S_OK);
    }
    ASSERT_EQ(data->GetData(&wrongFormat, medium.put()), S_OK);
    const GlobalLockScope copy(medium.get().hGlobal);
    ASSERT_EQ(copy.size(), sizeof(int));
    EXPECT_EQ(*static_cast<int*>(copy.data()), 8);
}

TEST_F(DragDropTest, EnumeratorWalksSkipsResetsAndClones)
{
    const ComPtr<CDataObject> data = makeData();
    ASSERT_TRUE(data->offerFormat(kPrivateFormat));
    ASSERT_TRUE(data->offerFormat(CF_HDROP));
    ComPtr<IEnumFORMATETC> formats;
    ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, formats.put()), S_OK);

    FORMATETC got[3]{};
    EXPECT_EQ(formats->Next(1, got, nullptr), S_OK);
    EXPECT_EQ(got[0].cfFormat, kPrivateFormat);
    ComPtr<IEnumFORMATETC> clone;
    ASSERT_EQ(formats->Clone(clone.put()), S_OK);
    ULONG fetched = 0;
    EXPECT_EQ(formats->Next(3, got, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 1u);
    EXPECT_EQ(got[0].cfFormat, CF_HDROP);
    EXPECT_EQ(formats->Next(2, got, nullptr), E_INVALIDARG);

    // The clone kept its own position.
    EXPECT_EQ(clone->Next(1, got, &fetched), S_OK);
    EXPECT_EQ(got[0].cfFormat, CF_HDROP);
    EXPECT_EQ(clone->Reset(), S_OK);
    EXPECT_EQ(clone->Skip(1), S_OK);
    EXPECT_EQ(clone->Skip(2), S_FALSE);
    EXPECT_EQ(clone->Next(1, got, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
}

TEST_F(DragDropTest, TargetLimitsTheListsEffectsByKeysAndSource)
{
    const ComPtr<CDropTarget> target = makeTarget();
    ASSERT_TRUE(target->acceptFormat(kPrivateFormat));
    const ComPtr<CDataObject> data = makeData();
    ASSERT_TRUE(data->offerFormat(kPrivateFormat));

    // The list takes copies and moves.
    EXPECT_EQ(enter(*target, data.get(), MK_LBUTTON), DROPEFFECT_COPY);
    EXPECT_EQ(list.lastPoint.x, 50);
    EXPECT_EQ(list.lastPoint.y, 60);
    EXPECT_EQ(enter(*target, data.get(), MK_LBUTTON | MK_CONTROL), DROPEFFECT_COPY);
    EXPECT_EQ(enter(*target, data.get(), MK_LBUTTON | MK_SHIFT), DROPEFFECT_MOVE);
    EXPECT_EQ(enter(*target, data.get(), MK_LBUTTON | MK_SHIFT | MK_CONTROL), DROPEFFECT_NONE);
    EXPECT_EQ(enter(*target, data.get(), MK_LBUTTON, DROPEFFECT_MOVE), DROPEFFECT_MOVE);
    EXPECT_EQ(enter(*target, data.get(), MK_LBUTTON | MK_CONTROL, DROPEFFECT_MOVE), DROPEFFECT_NONE);
    DWORD effect = DROPEFFECT_MOVE;
    EXPECT_EQ(target->DragOver(MK_LBUTTON, POINTL{0, 0}, &effect), S_OK);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    EXPECT_EQ(target->DragLeave(), S_OK);
    EXPECT_EQ(list.leaves, 1);
    effect = DROPEFFECT_MOVE;
    EXPECT_EQ(target->DragOver(MK_LBUTTON, POINTL{0, 0}, &effect), S_OK);
    EXPECT_EQ(effect, DROPEFFECT_NONE) << "after leaving, nothing is accepted";

    enter(*target, data.get(), MK_LBUTTON);
    EXPECT_EQ(drop(*target, data.get(), MK_SHIFT), DROPEFFECT_MOVE);
    EXPECT_EQ(list.droppedEffect, DROPEFFECT_MOVE);
    list.refuseDrops = true;
    enter(*target, data.get(), MK_LBUTTON);
    EXPECT_EQ(drop(*target, data.get(), 0), DROPEFFECT_NONE);
    EXPECT_EQ(list.leaves, 2) << "a refused drop hides what the hover showed";

    // Data in no accepted format: the list is not even asked.
    const ComPtr<CDataObject> other = makeData();
    ASSERT_TRUE(other->offerFormat(CF_HDROP));
    const int queries = list.queries;
    EXPECT_EQ(enter(*target, other.get(), MK_LBUTTON), DROPEFFECT_NONE);
    EXPECT_EQ(drop(*target, other.get(), 0), DROPEFFECT_NONE);
    EXPECT_EQ(list.queries, queries);
}

TEST_F(DragDropTest, FileListsGoOnlyToAParentTakingFilesAndOnlyWellFormed)
{
    GlobalMemory files = fileList({L"C:\\a.txt", L"C:\\folder"});
    STGMEDIUM medium{TYMED_HGLOBAL, {}, nullptr};
    medium.hGlobal = files.get();
    EXPECT_EQ(fileDropEffects(list, medium), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_FALSE(handFileDropToParent(list, medium));
    DragAcceptFiles(parent, TRUE);
    EXPECT_EQ(fileDropEffects(list, medium), static_cast<DWORD>(DROPEFFECT_COPY | DROPEFFECT_LINK)) << "never a move";

    GlobalMemory unterminated = fileList({L"C:\\a.txt"});
    {
        const GlobalLockScope view(unterminated.get());
        std::memset(static_cast<char*>(view.data()) + view.size() - 4, 'x', 4);
    }
    GlobalMemory badOffset = fileList({L"C:\\a.txt"});
    {
        const GlobalLockScope view(badOffset.get());
        static_cast<DROPFILES*>(view.data())->pFiles = static_cast<DWORD>(view.size() + 10);
    }
    for (const HGLOBAL malformed : {unterminated.get(), badOffset.get()}) {
        medium.hGlobal = malformed;
        EXPECT_EQ(fileDropEffects(list, medium), static_cast<DWORD>(DROPEFFECT_NONE));
        EXPECT_FALSE(handFileDropToParent(list, medium));
        EXPECT_TRUE(fileDropPaths(malformed).empty());
    }

    // Read whole and in order, wide or in the code page.
    EXPECT_EQ(fileDropPaths(files.get()), (std::vector<std::wstring>{L"C:\\a.txt", L"C:\\folder"}));
    const char narrow[] = "C:\\a.txt\0C:\\b\0";
    std::vector<unsigned char> bytes(sizeof(DROPFILES) + sizeof narrow);
    DROPFILES header{};
    header.pFiles = sizeof header;
    std::memcpy(bytes.data(), &header, sizeof header);
    std::memcpy(bytes.data() + sizeof header, narrow, sizeof narrow);
    GlobalMemory ansi = copyToGlobalMemory(bytes.data(), bytes.size());
    EXPECT_EQ(fileDropPaths(ansi.get()), (std::vector<std::wstring>{L"C:\\a.txt", L"C:\\b"}));
}

TEST_F(DragDropTest, CoordinatorRegistersOnceAndLeavesNothingBehind)
{
    {
        CDragDrop dragDrop;
        ASSERT_TRUE(dragDrop.setup(list, list.handle(), true));
        EXPECT_TRUE(dragDrop.acceptFormat(kPrivateFormat));
        EXPECT_TRUE(dragDrop.offerFormat(kPrivateFormat));
        CDragDrop second;
        EXPECT_FALSE(second.setup(list, list.handle(), true)) << "a window has one drop target";
        EXPECT_FALSE(second.registered());
        EXPECT_FALSE(second.offerFormat(kPrivateFormat));
        EXPECT_EQ(second.startDrag(Bitmap(), POINT{}, 0, DROPEFFECT_MOVE), static_cast<DWORD>(DROPEFFECT_NONE));
    }
    CDragDrop again;
    EXPECT_TRUE(again.setup(list, list.handle(), false)) << "revoked when the first went";
    EXPECT_FALSE(again.offerFormat(kPrivateFormat)) << "not a source";
}

TEST_F(DragDropTest, ArrowsBracketTheHeaderInRed)
{
    CDropArrows arrows;
    ASSERT_TRUE(arrows.create(list, 20, Dpi()));
    EXPECT_FALSE(arrows.visible());
    arrows.showAt(POINT{200, 300});
    EXPECT_TRUE(arrows.visible());
    const RECT window = arrows.windowRect();
    EXPECT_EQ(window.left, 194);
    EXPECT_EQ(window.top, 280);
    EXPECT_EQ(window.right - window.left, CDropArrows::width);
    EXPECT_EQ(window.bottom - window.top, 40);

    const Region shape(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(GetWindowRgn(arrows, shape.get()), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(shape.get(), 6, 2)) << "top shaft";
    EXPECT_TRUE(PtInRegion(shape.get(), 6, 37)) << "bottom shaft";
    EXPECT_TRUE(PtInRegion(shape.get(), 2, 5)) << "top head's wing";
    EXPECT_FALSE(PtInRegion(shape.get(), 6, 20)) << "the header between them stays visible";
    EXPECT_FALSE(PtInRegion(shape.get(), 1, 1));

    const ClientDC screen(arrows);
    const MemoryDC memory(screen.get());
    const Bitmap bitmap(CreateCompatibleBitmap(screen.get(), CDropArrows::width, 40));
    const SelectedObject selected(memory.get(), bitmap.get());
    arrows.sendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
    EXPECT_EQ(GetPixel(memory.get(), 6, 2), RGB(255, 0, 0));

    arrows.hide();
    EXPECT_FALSE(arrows.visible());
}

} // namespace

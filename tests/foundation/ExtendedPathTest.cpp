#include "foundation/ExtendedPath.h"

#include "foundation/Exception.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using namespace Kestrel;

TEST(ExtendedPath, KeepsEveryNameAsWrittenAndFoldsOnlyTheSeparators)
{
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"C:\\a\\x.", L"\\\\?\\C:\\a\\x."},
        {L"C:\\a\\dd. \\y ", L"\\\\?\\C:\\a\\dd. \\y "},
        {L"c:/a//b/", L"\\\\?\\c:\\a\\b"},
        {L"C:\\a\\.\\b\\..\\c", L"\\\\?\\C:\\a\\c"},
        {L"C:\\..\\x", L"\\\\?\\C:\\x"},
        {L"C:\\", L"\\\\?\\C:\\"},
        {L"\\\\srv\\share\\dir\\f.", L"\\\\?\\UNC\\srv\\share\\dir\\f."},
        {L"\\\\srv\\share", L"\\\\?\\UNC\\srv\\share\\"},
        {L"\\\\?\\C:\\already\\x.", L"\\\\?\\C:\\already\\x."},
    };
    for (const auto& [given, extended] : cases) {
        EXPECT_EQ(extendedLengthPath(given), extended) << given;
        EXPECT_EQ(displayPath(extended).find(L"\\\\?\\"), std::wstring::npos) << given;
    }
    EXPECT_EQ(displayPath(L"\\\\?\\C:\\a\\x."), L"C:\\a\\x.");
    EXPECT_EQ(displayPath(L"\\\\?\\UNC\\srv\\share\\f"), L"\\\\srv\\share\\f");
    EXPECT_EQ(ntPathOf(L"\\\\?\\C:\\a"), L"\\??\\C:\\a");
    EXPECT_THROW(static_cast<void>(extendedLengthPath(L"C:x")), Exception);
    EXPECT_THROW(static_cast<void>(extendedLengthPath(L"\\\\srv")), Exception);
}

TEST(ExtendedPath, RelativePathsStartAtTheCurrentFolderAndRootsAreKnown)
{
    std::vector<wchar_t> current(32768, L'\0');
    ASSERT_NE(GetCurrentDirectoryW(static_cast<DWORD>(current.size()), current.data()), 0u);
    const std::wstring folder = current.data();
    EXPECT_EQ(extendedLengthPath(L"sub\\x."), extendedLengthPath(folder + L"\\sub\\x."));
    EXPECT_EQ(extendedLengthPath(L"\\x"), L"\\\\?\\" + folder.substr(0, 2) + L"\\x");

    EXPECT_TRUE(isExtendedRoot(L"\\\\?\\C:\\"));
    EXPECT_TRUE(isExtendedRoot(L"\\\\?\\UNC\\srv\\share\\"));
    EXPECT_FALSE(isExtendedRoot(L"\\\\?\\C:\\a"));
    EXPECT_FALSE(isExtendedRoot(L"\\\\?\\UNC\\srv\\share\\a"));
    EXPECT_EQ(childPath(L"\\\\?\\C:\\", L"x"), L"\\\\?\\C:\\x");
    EXPECT_EQ(childPath(L"\\\\?\\C:\\a", L"x."), L"\\\\?\\C:\\a\\x.");
}

} // namespace

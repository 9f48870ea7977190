#include "foundation/Path.h"

#include "foundation/Exception.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Kestrel::Path;

std::wstring roundTrip(const std::wstring& text)
{
    return Path(text).toString();
}

TEST(Path, DriveRootsAndFolders)
{
    EXPECT_EQ(roundTrip(L"C:\\"), L"C:\\");
    EXPECT_EQ(roundTrip(L"C:\\a\\b.txt"), L"C:\\a\\b.txt");
    EXPECT_EQ(roundTrip(L"C:\\a\\b\\"), L"C:\\a\\b\\");
    EXPECT_EQ(roundTrip(L"c:/a/b"), L"c:\\a\\b");
    EXPECT_EQ(roundTrip(L"C:/a\\b/c.txt"), L"C:\\a\\b\\c.txt");
    EXPECT_EQ(roundTrip(L"C:\\a\\\\b"), L"C:\\a\\b");

    const Path file(L"D:\\data\\logs\\KWW.log");
    EXPECT_TRUE(file.isAbsolute());
    EXPECT_EQ(file.device(), L"D");
    EXPECT_EQ(file.node(), L"");
    EXPECT_EQ(file.directories(), (std::vector<std::wstring>{L"data", L"logs"}));
    EXPECT_EQ(file.name(), L"KWW.log");
}

TEST(Path, UncSharesAreFolders)
{
    const Path share(L"\\\\srv\\share");
    EXPECT_EQ(share.node(), L"srv");
    EXPECT_EQ(share.directories(), std::vector<std::wstring>{L"share"});
    EXPECT_EQ(share.name(), L"");
    EXPECT_EQ(share.toString(), L"\\\\srv\\share\\");
    EXPECT_EQ(roundTrip(L"//srv/share/x.txt"), L"\\\\srv\\share\\x.txt");
    EXPECT_EQ(roundTrip(L"\\\\srv"), L"\\\\srv\\");
    EXPECT_EQ(roundTrip(L"\\\\srv\\"), L"\\\\srv\\");
}

TEST(Path, RootedAndRelativePaths)
{
    EXPECT_EQ(roundTrip(L"\\"), L"\\");
    EXPECT_EQ(roundTrip(L"/a/b"), L"\\a\\b");
    EXPECT_EQ(roundTrip(L""), L"");
    EXPECT_EQ(roundTrip(L"x"), L"x");
    EXPECT_EQ(roundTrip(L"a/b/"), L"a\\b\\");
    EXPECT_EQ(roundTrip(L"Larkspan\\Wipewell\\"), L"Larkspan\\Wipewell\\");
    EXPECT_FALSE(Path(L"a\\b").isAbsolute());
    EXPECT_TRUE(Path(L"\\a").isAbsolute());
    // A colon anywhere but after a leading letter is just part of a name.
    EXPECT_EQ(roundTrip(L"ab:c"), L"ab:c");
}

TEST(Path, DotsFoldWhenASeparatorFollows)
{
    EXPECT_EQ(roundTrip(L"C:\\a\\..\\b"), L"C:\\b");
    EXPECT_EQ(roundTrip(L"C:\\..\\x"), L"C:\\x");
    EXPECT_EQ(roundTrip(L"\\..\\..\\x"), L"\\x");
    EXPECT_EQ(roundTrip(L"..\\x"), L"..\\x");
    EXPECT_EQ(roundTrip(L"..\\..\\a\\..\\x"), L"..\\..\\x");
    EXPECT_EQ(roundTrip(L"C:\\.\\a\\.\\b"), L"C:\\a\\b");
    // A last ".." is a name, not a step up.
    EXPECT_EQ(roundTrip(L"C:\\a\\.."), L"C:\\a\\..");
}

TEST(Path, MalformedDrivePartsFailToParse)
{
    for (const wchar_t* text : {L"C:", L"C:x", L"1:\\x", L"\\C:\\x", L"/C:/x", L"::\\x"}) {
        try {
            static_cast<void>(Path(text));
            ADD_FAILURE() << "parsed: " << testing::PrintToString(std::wstring(text));
        } catch (const Kestrel::RuntimeException&) {
            ADD_FAILURE() << "parse failure is a root Exception, not a derived class";
        } catch (const Kestrel::Exception& error) {
            EXPECT_EQ(error.fullText(), L"Exception: Parse failed");
        }
    }
}

TEST(Path, MakeParentClimbsAndStopsAtRoots)
{
    EXPECT_EQ(Path(L"C:\\a\\b.txt").parent().toString(), L"C:\\a\\");
    EXPECT_EQ(Path(L"C:\\a\\b\\").parent().toString(), L"C:\\a\\");
    EXPECT_EQ(Path(L"C:\\").parent().toString(), L"C:\\");
    EXPECT_EQ(Path(L"\\\\srv\\share").parent().toString(), L"\\\\srv\\");
    EXPECT_EQ(Path(L"\\\\srv\\").parent().toString(), L"\\\\srv\\");

    Path relative(L"a\\");
    relative.makeParent();
    EXPECT_EQ(relative.toString(), L"");
    relative.makeParent();
    EXPECT_EQ(relative.toString(), L"..\\");
    relative.makeParent();
    EXPECT_EQ(relative.toString(), L"..\\..\\");

    const Path original(L"C:\\a\\b");
    const Path parent = original.parent();
    EXPECT_EQ(original.toString(), L"C:\\a\\b");
    EXPECT_EQ(parent.toString(), L"C:\\a\\");
}

TEST(Path, MakeDirectoryAndAppend)
{
    Path folder(L"C:\\a\\b");
    folder.makeDirectory();
    EXPECT_EQ(folder.toString(), L"C:\\a\\b\\");

    Path joined(L"C:\\data");
    joined.append(Path(L"sub\\file.txt"));
    EXPECT_EQ(joined.toString(), L"C:\\data\\sub\\file.txt");

    // The appended path's root is ignored and its ".." entries are kept as they are.
    Path rooted(L"\\\\srv\\share\\");
    rooted.append(Path(L"D:\\x\\y"));
    EXPECT_EQ(rooted.toString(), L"\\\\srv\\share\\x\\y");
    Path climbing(L"C:\\a\\");
    climbing.append(Path(L"..\\x"));
    EXPECT_EQ(climbing.toString(), L"C:\\a\\..\\x");

    Path pushed(L"C:\\a\\");
    pushed.pushDirectory(L"..");
    pushed.pushDirectory(L"..");
    pushed.pushDirectory(L".");
    pushed.pushDirectory(L"");
    pushed.pushDirectory(L"b");
    EXPECT_EQ(pushed.toString(), L"C:\\b\\");
}

} // namespace

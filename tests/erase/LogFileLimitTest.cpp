// The log is a list of erased names: its cut lines must not stay readable in the drive's free
// space. On an ext4 image, whose bytes are read back after it is unmounted.
#include "erase/LogFileLimit.h"
#include "foundation/FileSpec.h"
#include "foundation/LogFile.h"
#include "tests/erase/FileChecks.h"
#include "tests/support/MountedVolume.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

TEST(LogFileLimit, CutLinesAreOverwrittenBeforeTheLogIsEmptied)
{
    const KestrelTest::ScratchFolder scratch;
    const std::wstring mount = scratch / L"volume";
    ASSERT_TRUE(CreateDirectoryW(mount.c_str(), nullptr));
    std::string why;
    const std::wstring image = scratch / L"volume.img";
    auto volume = KestrelTest::MountedVolume::ext4Image(mount, image, 16 * 1024, why, "-b 1024 -m 0");
    if (!volume)
        GTEST_SKIP() << "no image mounted: " << why;
    const std::wstring log = mount + L"\\KWW.log";
    ASSERT_TRUE(writeFlushed(log, recognisableBytes(Kestrel::kLogFileLimit, "File erased: C:\\secret-name")));

    limitLogFile(log);

    EXPECT_EQ(Kestrel::FileSpec(log).fileSize(), 0u);
    ASSERT_TRUE(volume->unmount());
    EXPECT_EQ(KestrelTest::readFile(image).find("secret-name"), std::string::npos);
}

#include "tests/support/MountedVolume.h"

#include "foundation/UniqueHandle.h"
#include "tests/support/UnixShell.h"
#include "tests/support/WineDriveName.h"

#include <windows.h>

#include <optional>

namespace KestrelTest {

namespace {

std::optional<std::string> mountFolderOrWhy(const std::wstring& mountFolder, std::string& why)
{
    if (!runningUnderWine()) {
        why = "mounting needs the Linux side of Wine";
        return std::nullopt;
    }
    std::string unixFolder = unixPathOf(mountFolder);
    if (unixFolder.empty()) {
        why = "no Unix path for the mount folder";
        return std::nullopt;
    }
    return unixFolder;
}

bool runOrExplain(const std::string& script, std::string& why)
{
    const ShellResult result = runUnixShell(script);
    if (result.finished && result.status == 0)
        return true;
    why = result.finished ? "mount failed (not permitted here?): " + result.output : "the mount command did not end";
    return false;
}

} // namespace

std::unique_ptr<MountedVolume> MountedVolume::tmpfs(const std::wstring& mountFolder, unsigned kibibytes,
                                                    std::string& why)
{
    const auto folder = mountFolderOrWhy(mountFolder, why);
    if (!folder)
        return nullptr;
    const std::string script =
        "mount -t tmpfs -o size=" + std::to_string(kibibytes) + "k kww-test " + shellQuoted(*folder) + "\n";
    if (!runOrExplain(script, why))
        return nullptr;
    return std::unique_ptr<MountedVolume>(new MountedVolume(*folder));
}

std::unique_ptr<MountedVolume> MountedVolume::tmpfsDrive(const std::wstring& mountFolder, unsigned kibibytes,
                                                         std::wstring& root, std::string& why)
{
    if (!CreateDirectoryW(mountFolder.c_str(), nullptr)) {
        why = "the mount folder cannot be made";
        return nullptr;
    }
    auto volume = tmpfs(mountFolder, kibibytes, why);
    if (!volume)
        return nullptr;
    root = volume->mapDriveLetterAndWait(why);
    if (root.empty())
        return nullptr;
    return volume;
}

std::wstring MountedVolume::mapDriveLetterAndWait(std::string& why)
{
    const std::wstring root = mapDriveLetter(why);
    if (root.empty())
        return {};
    if (!waitUntilWineNamesTheRoot(root)) {
        why = "Wine does not name the volume by its new drive letter";
        return {};
    }
    return root;
}

std::unique_ptr<MountedVolume> MountedVolume::ext4Image(const std::wstring& mountFolder, const std::wstring& imageFile,
                                                        unsigned kibibytes, std::string& why,
                                                        const std::string& mkfsOptions,
                                                        const std::string& tuneOptions)
{
    const auto folder = mountFolderOrWhy(mountFolder, why);
    if (!folder)
        return nullptr;
    const std::string image = unixPathOf(imageFile);
    const std::string script = "set -e\ntruncate -s " + std::to_string(kibibytes) + "K " + shellQuoted(image) +
                               "\nmkfs.ext4 -q -F " + mkfsOptions + " " + shellQuoted(image) +
                               (tuneOptions.empty() ? "" : "\ntune2fs " + tuneOptions + " " + shellQuoted(image) + " >/dev/null") +
                               "\nmount -o loop " +
                               shellQuoted(image) + " " + shellQuoted(*folder) + "\n";
    if (!runOrExplain(script, why))
        return nullptr;
    return std::unique_ptr<MountedVolume>(new MountedVolume(*folder));
}

std::unique_ptr<MountedVolume> MountedVolume::ntfsImage(const std::wstring& mountFolder, const std::wstring& imageFile,
                                                        unsigned kibibytes, std::string& why,
                                                        const std::string& mountOptions)
{
    const auto folder = mountFolderOrWhy(mountFolder, why);
    if (!folder)
        return nullptr;
    const std::string image = unixPathOf(imageFile);
    // A quick format writes only the file system's own structures, so the image's other bytes
    // stay zero and every byte a test finds there was written through the mount.
    const std::string script = "set -e\ntruncate -s " + std::to_string(kibibytes) + "K " + shellQuoted(image) +
                               "\nmkntfs -q -F -f " + shellQuoted(image) + " >/dev/null\nntfs-3g " +
                               (mountOptions.empty() ? "" : "-o " + shellQuoted(mountOptions) + " ") +
                               shellQuoted(image) + " " + shellQuoted(*folder) + "\n";
    if (!runOrExplain(script, why))
        return nullptr;
    return std::unique_ptr<MountedVolume>(new MountedVolume(*folder));
}

MountedVolume::~MountedVolume()
{
    unmapDriveLetter();
    if (mounted_)
        (void)unmount();
}

std::wstring MountedVolume::mapDriveLetter(std::string& why)
{
    const std::string driveC = unixPathOf(L"C:\\");
    const auto slash = driveC.rfind('/');
    if (slash == std::string::npos) {
        why = "no Unix path for drive C:";
        return {};
    }
    const std::string dosDevices = driveC.substr(0, slash);
    // ln without -f refuses a letter that is taken, so the first free one wins; -T, since a taken
    // letter that leads to a folder would otherwise get the link made inside that folder.
    const std::string script = "for letter in m n o p q r s t u v w x y; do\n"
                               "  if ln -sT " + shellQuoted(unixMountFolder_) + " " + shellQuoted(dosDevices) +
                               "/$letter: 2>/dev/null; then echo $letter; exit 0; fi\n"
                               "done\nexit 1\n";
    const ShellResult result = runUnixShell(script);
    if (!result.finished || result.status != 0 || result.output.empty()) {
        why = "no free drive letter: " + result.output;
        return {};
    }
    const char letter = result.output[0];
    driveLink_ = dosDevices + "/" + letter + ":";
    return std::wstring(1, static_cast<wchar_t>(letter - 'a' + 'A')) + L":\\";
}

void MountedVolume::unmapDriveLetter()
{
    if (driveLink_.empty())
        return;
    // The link is ".../m:": its letter names the root.
    const char letter = driveLink_[driveLink_.size() - 2];
    const std::wstring root = std::wstring(1, static_cast<wchar_t>(letter - 'a' + 'A')) + L":\\";
    const Kestrel::UniqueFileHandle folder(CreateFileW(root.c_str(), 0,
                                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    (void)runUnixShell("rm -f " + shellQuoted(driveLink_) + "\n");
    driveLink_.clear();
    if (folder)
        (void)waitUntilWineForgetsTheRoot(folder.get(), root);
}

bool MountedVolume::unmount()
{
    unmapDriveLetter();
    // A lazy unmount as the fallback: a handle Wine still holds must not leave the mount behind.
    const ShellResult result = runUnixShell("umount " + shellQuoted(unixMountFolder_) + " || { umount -l " +
                                            shellQuoted(unixMountFolder_) + "; exit 1; }\n");
    mounted_ = false;
    return result.finished && result.status == 0;
}

} // namespace KestrelTest

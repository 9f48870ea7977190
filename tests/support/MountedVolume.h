#pragma once

#include <memory>
#include <string>

namespace KestrelTest {

// A small file system mounted on the Linux side for the length of a test, under Wine and as root
// only: a tmpfs (where writes run out of space for real) or an ext4 image in a file (whose bytes
// a test can read back after unmounting). Optionally mapped to a drive letter of the Wine prefix.
// Unmapped and unmounted on destruction; the mount folder itself stays for its owner to remove.
class MountedVolume {
public:
    // Mounts on the existing empty folder; nothing, with the reason in why, when it cannot.
    [[nodiscard]] static std::unique_ptr<MountedVolume> tmpfs(const std::wstring& mountFolder, unsigned kibibytes,
                                                              std::string& why);
    // mkfsOptions go to mkfs.ext4 (for example "-b 1024 -m 0": small blocks, none kept for root),
    // tuneOptions to tune2fs before the mount (for example "-u 1000": the reserve is another user's).
    [[nodiscard]] static std::unique_ptr<MountedVolume> ext4Image(const std::wstring& mountFolder,
                                                                  const std::wstring& imageFile, unsigned kibibytes,
                                                                  std::string& why,
                                                                  const std::string& mkfsOptions = {},
                                                                  const std::string& tuneOptions = {});
    // An NTFS image in a file, mounted with ntfs-3g, whose small files live in the file table.
    // mountOptions go to ntfs-3g's -o (for example "streams_interface=windows": "file:name" is a
    // named stream).
    [[nodiscard]] static std::unique_ptr<MountedVolume> ntfsImage(const std::wstring& mountFolder,
                                                                  const std::wstring& imageFile, unsigned kibibytes,
                                                                  std::string& why,
                                                                  const std::string& mountOptions = {});
    // A tmpfs mounted on a new folder and mapped to a drive letter, whose root ("M:\\") goes to
    // root; nothing, with the reason in why, when any step cannot be taken here.
    [[nodiscard]] static std::unique_ptr<MountedVolume> tmpfsDrive(const std::wstring& mountFolder,
                                                                   unsigned kibibytes, std::wstring& root,
                                                                   std::string& why);
    ~MountedVolume();
    MountedVolume(const MountedVolume&) = delete;
    MountedVolume& operator=(const MountedVolume&) = delete;

    // Maps the first free letter from M: on to the mount; its root ("M:\"), or empty with why.
    [[nodiscard]] std::wstring mapDriveLetter(std::string& why);
    // Maps a letter as mapDriveLetter does and waits until Wine names the volume by it.
    [[nodiscard]] std::wstring mapDriveLetterAndWait(std::string& why);
    // Unmounts now (everything written reaches the image); true when it worked.
    [[nodiscard]] bool unmount();

private:
    explicit MountedVolume(std::string unixMountFolder) : unixMountFolder_(std::move(unixMountFolder)) {}
    void unmapDriveLetter();

    std::string unixMountFolder_;
    std::string driveLink_;
    bool mounted_ = true;
};

} // namespace KestrelTest

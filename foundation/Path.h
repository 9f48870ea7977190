#pragma once

#include <string>
#include <vector>

namespace Kestrel {

// A Windows path split into its parts: UNC node or drive letter, folders, and a last name.
// Both separators are read; only backslashes are written. A malformed path (C:, C:x, 1:\x, \C:\x)
// throws Kestrel::Exception "Parse failed": drive-relative forms are not supported.
class Path {
public:
    Path() = default;
    explicit Path(const std::wstring& path);

    std::wstring toString() const;

    // Adds one folder; "" and "." are ignored, ".." removes the last folder (kept on a relative
    // path with nothing left to remove, dropped at the root of an absolute one).
    void pushDirectory(const std::wstring& segment);
    // The name becomes the last folder, so the string form ends in a backslash.
    void makeDirectory();
    // Drops the name, else the last folder; a relative path climbs with "..", a root stays.
    void makeParent();
    [[nodiscard]] Path parent() const;
    // Treats this path as a folder and adds the other's folders and name to it; the other's root
    // (node, drive, absolute flag) is ignored.
    void append(const Path& other);

    const std::wstring& node() const noexcept { return node_; }
    const std::wstring& device() const noexcept { return device_; }
    const std::wstring& name() const noexcept { return name_; }
    const std::vector<std::wstring>& directories() const noexcept { return directories_; }
    bool isAbsolute() const noexcept { return absolute_; }

private:
    void parse(const std::wstring& path);

    std::wstring node_;
    std::wstring device_;
    std::wstring name_;
    std::vector<std::wstring> directories_;
    bool absolute_ = false;
};

} // namespace Kestrel

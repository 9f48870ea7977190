#pragma once

#include "framework/MessageMap.h"

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace Kestrel {

// Files and folders dropped from the shell on a window T that accepts them (DragAcceptFiles) and
// chains its map here. T takes the paths of each drop in
//     bool onDropFiles(const std::vector<std::wstring>& paths)
// (public, or this class a friend); this class's own version takes nothing and answers false.
// The paths come last dropped item first.
template <typename T>
class DropFileTarget {
public:
    static constexpr auto messageMap()
    {
        return messageMapOf<DropFileTarget>(onMessage<WM_DROPFILES, &DropFileTarget::onDropFilesMessage>);
    }

    bool onDropFiles(const std::vector<std::wstring>&) { return false; }

    // The paths of the last drop, as handed to onDropFiles.
    [[nodiscard]] const std::vector<std::wstring>& droppedFiles() const noexcept { return droppedFiles_; }

private:
    // The drop's memory belongs to the receiver, who gives it back whatever happens.
    class DropRelease {
    public:
        explicit DropRelease(HDROP drop) noexcept : drop_(drop) {}
        ~DropRelease() { DragFinish(drop_); }
        DropRelease(const DropRelease&) = delete;
        DropRelease& operator=(const DropRelease&) = delete;

    private:
        HDROP drop_;
    };

    void onDropFilesMessage(HDROP drop)
    {
        const DropRelease release(drop);
        droppedFiles_.clear();
        const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT index = count; index-- > 0;) {
            // Each path is read at its own length: a path cut to a fixed buffer could name
            // another item that exists, which would then be erased.
            const UINT length = DragQueryFileW(drop, index, nullptr, 0);
            std::wstring path(length + 1, L'\0');
            path.resize(DragQueryFileW(drop, index, path.data(), length + 1));
            droppedFiles_.push_back(std::move(path));
        }
        if (!droppedFiles_.empty())
            static_cast<void>(static_cast<T&>(*this).onDropFiles(droppedFiles_));
    }

    std::vector<std::wstring> droppedFiles_;
};

} // namespace Kestrel

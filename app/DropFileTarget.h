#pragma once

#include "framework/MessageMap.h"
#include "listctrl/ole/FileDropHandOver.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
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
        // Each path is read up to its own end: a path cut to a fixed buffer could name another
        // item that exists, which would then be erased.
        droppedFiles_ = fileDropPaths(drop);
        std::reverse(droppedFiles_.begin(), droppedFiles_.end());
        if (!droppedFiles_.empty())
            static_cast<void>(static_cast<T&>(*this).onDropFiles(droppedFiles_));
    }

    std::vector<std::wstring> droppedFiles_;
};

} // namespace Kestrel

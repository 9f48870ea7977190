#pragma once

#include "framework/CFileDialogImpl.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace Kestrel {

// The open-file dialog of "Add File...": several files at once, a resizable frame, the read-only
// check box shown (its state is not used), centred over its owner. After a confirmed run the
// selection is read back with getFileCount and getFilePath.
class MultiSelectionFileDialog : public CFileDialogImpl<MultiSelectionFileDialog> {
public:
    // Room for the whole selection, in characters: the directory and every name with its NUL.
    // Big enough for hundreds of files at once; a still larger selection is refused with a box.
    static constexpr std::size_t kResultCapacity = 32768;

    // filter: pairs of display name and pattern, each part ended by "|" ("All files(*.*)|*.*|").
    explicit MultiSelectionFileDialog(const std::wstring& filter, std::size_t resultCapacity = kResultCapacity);

    // Runs the dialog over the owner; true when the user confirmed a selection. A selection that
    // does not fit the result buffer is reported to the user and answers false.
    [[nodiscard]] bool run(HWND owner);

    // The number of chosen files.
    [[nodiscard]] int getFileCount();
    // The full path of the chosen file at the index, empty for an index out of range.
    [[nodiscard]] std::wstring getFilePath(int index);

    // The result buffer as the platform fills it: one full path, or the directory, a NUL, each
    // name followed by a NUL, and a final NUL.
    [[nodiscard]] std::span<wchar_t> resultBuffer() noexcept { return result_; }

private:
    std::wstring filter_; // the filter with its "|" turned into NULs
    std::vector<wchar_t> result_;
    int count_ = -1;                  // -1 until counted
    std::vector<std::size_t> starts_; // where each string of the result begins
    std::wstring directory_;          // with several files: the directory and one backslash
};

} // namespace Kestrel

#include "app/MultiSelectionFileDialog.h"

#include "app/MessageBox.h"
#include "app/UserTexts.h"

#include <algorithm>

namespace Kestrel {

MultiSelectionFileDialog::MultiSelectionFileDialog(const std::wstring& filter, std::size_t resultCapacity)
    : filter_(filter), result_(std::max<std::size_t>(resultCapacity, 2), L'\0')
{
    std::replace(filter_.begin(), filter_.end(), L'|', L'\0');
    // The platform reads the filter up to a double NUL.
    filter_.append(2, L'\0');
}

bool MultiSelectionFileDialog::run(HWND owner)
{
    std::fill(result_.begin(), result_.end(), L'\0');
    count_ = -1;
    OPENFILENAMEW& description = openFileName();
    description.lpstrFilter = filter_.c_str();
    description.nFilterIndex = 1;
    description.lpstrFile = result_.data();
    description.nMaxFile = static_cast<DWORD>(result_.size());
    description.Flags = OFN_ALLOWMULTISELECT | OFN_ENABLESIZING;
    if (doModal(owner))
        return true;
    // Ignoring this failure would drop the user's whole selection without a word.
    if (extendedError() == FNERR_BUFFERTOOSMALL)
        showMessage(owner, UserTexts::kTooManyFiles, MB_OK | MB_ICONWARNING);
    return false;
}

int MultiSelectionFileDialog::getFileCount()
{
    if (count_ >= 0)
        return count_;
    starts_.clear();
    std::size_t start = 0;
    for (std::size_t i = 0; i + 1 < result_.size(); ++i) {
        if (result_[i] != L'\0')
            continue;
        starts_.push_back(start);
        if (result_[i + 1] == L'\0')
            break;
        start = i + 1;
    }
    directory_.clear();
    if (starts_.size() > 1) {
        // The first string is the directory; a drive root ("C:\") ends in its backslash already.
        directory_ = result_.data();
        if (directory_.empty() || directory_.back() != L'\\')
            directory_ += L'\\';
        starts_.erase(starts_.begin());
    }
    count_ = static_cast<int>(starts_.size());
    return count_;
}

std::wstring MultiSelectionFileDialog::getFilePath(int index)
{
    if (index < 0 || index >= getFileCount())
        return {};
    return directory_ + &result_[starts_[static_cast<std::size_t>(index)]];
}

} // namespace Kestrel

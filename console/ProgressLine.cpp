#include "console/ProgressLine.h"

#include <algorithm>
#include <cmath>

void ProgressLine::show(double percent, const std::wstring& path)
{
    if (!stream_.isConsole())
        return;
    const int whole = static_cast<int>(std::clamp(std::floor(percent), 0.0, 100.0));
    const std::wstring number = std::to_wstring(whole);
    std::wstring text = std::wstring(3 - number.size(), L' ') + number + L"% " + path;
    // One character less than the width: writing the last column would move the cursor on to
    // the next line, and the line could no longer be written over.
    const std::size_t room = static_cast<std::size_t>(std::max(stream_.width() - 1, 1));
    if (text.size() > room)
        text.resize(room);
    if (text == shown_)
        return;
    const std::size_t blanks = shown_.size() > text.size() ? shown_.size() - text.size() : 0;
    stream_.write(L"\r" + text + std::wstring(blanks, L' '));
    shown_ = std::move(text);
}

void ProgressLine::clear()
{
    if (shown_.empty())
        return;
    stream_.write(L"\r" + std::wstring(shown_.size(), L' ') + L"\r");
    shown_.clear();
}

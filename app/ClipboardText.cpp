#include "app/ClipboardText.h"

#include "listctrl/ole/GlobalMemory.h"

namespace {

// Open for one scope; closing gives it back to other programs.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner) noexcept : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenClipboardScope()
    {
        if (open_)
            CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    explicit operator bool() const noexcept { return open_; }

private:
    bool open_;
};

} // namespace

bool copyTextToClipboard(HWND owner, const std::wstring& text)
{
    Kestrel::GlobalMemory block = Kestrel::copyToGlobalMemory(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    if (!block)
        return false;
    const OpenClipboardScope clipboard(owner);
    if (!clipboard || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, block.get()))
        return false;
    // The clipboard owns the block now.
    static_cast<void>(block.release());
    return true;
}

#include "tests/e2e/ScreenshotCommands.h"

#include "framework/DeviceContext.h"
#include "framework/GdiObject.h"
#include "framework/SelectedObject.h"

#include <shlobj.h>

#include <cwchar>
#include <filesystem>
#include <fstream>
#include <vector>

namespace E2E {

namespace {

// A 24-bit bottom-up bitmap file of the device context's bitmap.
bool writeBitmapFile(const std::wstring& path, HDC dc, HBITMAP bitmap, int width, int height)
{
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
    std::vector<char> pixels(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
    if (!GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
                   DIB_RGB_COLORS))
        return false;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out);
}

} // namespace

// A left click at a point of a control of the window, in the control's client coordinates, the
// way the mouse makes one: the pointer arrives, the button goes down and up.
bool clickControl(DriverState& state, Arguments arguments)
{
    const HWND window = findVisibleWindow(arguments[0]);
    const HWND control = window ? GetDlgItem(window, static_cast<int>(std::wcstol(arguments[1].c_str(), nullptr, 10)))
                                : nullptr;
    if (!control)
        return fail(L"no control %ls in \"%ls\"", arguments[1].c_str(), arguments[0].c_str());
    const LPARAM point = MAKELPARAM(std::wcstol(arguments[2].c_str(), nullptr, 10),
                                    std::wcstol(arguments[3].c_str(), nullptr, 10));
    PostMessageW(control, WM_MOUSEMOVE, 0, point);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(control, WM_LBUTTONUP, 0, point);
    // The program has handled the click once it answers a message sent after it.
    SendMessageTimeoutW(control, WM_NULL, 0, 0, SMTO_NORMAL, state.boundMilliseconds, nullptr);
    return true;
}

// For the picture only: a moment for the progress bar to move.
bool pause(DriverState&, Arguments arguments)
{
    const DWORD milliseconds = std::wcstoul(arguments[0].c_str(), nullptr, 10);
    waitUntil(milliseconds, [] { return false; });
    return true;
}

// What the screen shows of the window, frame included.
bool captureWindow(DriverState&, Arguments arguments)
{
    const HWND window = findVisibleWindow(arguments[0]);
    if (!window)
        return fail(L"no window \"%ls\"", arguments[0].c_str());
    RECT frame{};
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const Kestrel::ClientDC screen(nullptr);
    const Kestrel::MemoryDC memory(screen.get());
    const Kestrel::Bitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    if (!memory || !bitmap)
        return fail(L"no memory for the picture");
    {
        const Kestrel::SelectedObject selected(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, width, height, screen.get(), frame.left, frame.top, SRCCOPY);
    }
    if (!writeBitmapFile(arguments[1], memory.get(), bitmap.get(), width, height))
        return fail(L"cannot write %ls", arguments[1].c_str());
    return true;
}

// The user's Documents folder as the shell answers for it, on a line of its own: pictures show
// the paths a user has.
bool printDocumentsFolder(DriverState&, Arguments)
{
    wchar_t folder[MAX_PATH]{};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return fail(L"no Documents folder");
    std::fwprintf(stdout, L"%ls\n", folder);
    return true;
}

} // namespace E2E

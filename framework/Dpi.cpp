#include "framework/Dpi.h"

#include "framework/DeviceContext.h"
#include "framework/SystemFunction.h"

#include <cstddef>

namespace Kestrel {

namespace {

// Calls of Windows 10 1607 and later, looked up at run time so that the program starts on
// Windows 7.
using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiCall = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiCall = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

// The record as Windows XP defined it (without iPaddedBorderWidth), which every later version
// accepts from SystemParametersInfoW; the per-DPI call wants the whole record.
constexpr UINT kLegacyMetricsSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);

// The DPI of a window's device context (the screen's for none): the system's, on every version.
Dpi ofDeviceContext(HWND window) noexcept
{
    const ClientDC dc(window);
    return Dpi(dc ? static_cast<UINT>(GetDeviceCaps(dc.get(), LOGPIXELSX)) : 0);
}

} // namespace

Dpi Dpi::ofWindow(HWND window) noexcept
{
    static const auto getDpiForWindow = systemFunction<GetDpiForWindowCall>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow)
        return Dpi(getDpiForWindow(window));
    return ofDeviceContext(window);
}

Dpi Dpi::ofSystem() noexcept
{
    return ofDeviceContext(nullptr);
}

int systemMetric(int index, Dpi dpi) noexcept
{
    static const auto forDpi = systemFunction<GetSystemMetricsForDpiCall>(L"user32.dll", "GetSystemMetricsForDpi");
    if (forDpi)
        return forDpi(index, dpi.value());
    // Before Windows 10 the metrics are the system DPI's; on Windows 8.1 a window moved to a
    // monitor of another scale needs them brought to its own.
    return dpi.rescale(GetSystemMetrics(index), Dpi::ofSystem());
}

bool messageFont(Dpi dpi, LOGFONTW& font) noexcept
{
    static const auto forDpi =
        systemFunction<SystemParametersInfoForDpiCall>(L"user32.dll", "SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics{};
    if (forDpi) {
        metrics.cbSize = sizeof metrics;
        if (!forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi.value()))
            return false;
        font = metrics.lfMessageFont;
        return true;
    }
    metrics.cbSize = kLegacyMetricsSize;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, kLegacyMetricsSize, &metrics, 0))
        return false;
    font = metrics.lfMessageFont;
    font.lfHeight = dpi.rescale(font.lfHeight, Dpi::ofSystem());
    return true;
}

} // namespace Kestrel

#pragma once

#include "framework/CWindowImplBase.h"
#include "framework/HandlerFailure.h"
#include "framework/MessageMap.h"
#include "framework/WindowClass.h"

namespace Kestrel {

// A window whose messages go to T's static message map (T::messageMap(), see MessageMap.h).
// It either creates a window of its own class, or subclasses an existing one.
template <typename T>
class CWindowImpl : public CWindowImplBase {
public:
    // The class of T's windows; T may declare its own to hide these.
    static constexpr UINT classStyle = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    // A system colour index + 1 (COLOR_WINDOW + 1), or 0 to leave erasing to the window.
    static constexpr int classBackground = COLOR_WINDOW + 1;

    // Creates the window; null when this object has a window already or creation failed. id is
    // the control identifier of a child window (0 for a top-level one). A handler that failed
    // during the creation has its exception thrown from here.
    [[nodiscard]] HWND create(HWND parent, const RECT& rect, const wchar_t* title, DWORD style,
                              DWORD exStyle = 0, UINT id = 0, void* createParam = nullptr)
    {
        if (handle())
            return nullptr;
        const WindowClass& windowClass = registeredClass();
        if (!windowClass)
            return nullptr;
        HWND window = nullptr;
        {
            CreationScope scope(*this, DefWindowProcW);
            window = CreateWindowExW(exStyle, windowClass.name(), title, style, rect.left, rect.top,
                                     rect.right - rect.left, rect.bottom - rect.top, parent,
                                     reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), moduleInstance(), createParam);
        }
        rethrowHandlerFailure();
        return window;
    }

    bool processWindowMessage(Message& message) override
    {
        return processMessageMap(static_cast<T&>(*this), message);
    }

protected:
    CWindowImpl() noexcept = default;

private:
    // Registered on the first create of a T, unregistered when the process ends.
    static const WindowClass& registeredClass() noexcept
    {
        static const WindowClass windowClass(windowProc, T::classStyle,
                                             reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(T::classBackground)));
        return windowClass;
    }
};

} // namespace Kestrel

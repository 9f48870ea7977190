#pragma once

#include <windows.h>

namespace Kestrel {

// Sees a message before the message loop translates and dispatches it.
class CMessageFilter {
public:
    // True when the filter consumed the message: it is then neither translated nor dispatched,
    // and filters registered before this one do not see it.
    virtual bool preTranslateMessage(MSG& message) = 0;

protected:
    ~CMessageFilter() = default;
};

} // namespace Kestrel

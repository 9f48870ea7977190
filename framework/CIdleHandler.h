#pragma once

namespace Kestrel {

// Work to do when the thread's message queue has run empty.
class CIdleHandler {
public:
    // The result is not used by the loop.
    virtual bool onIdle() = 0;

protected:
    ~CIdleHandler() = default;
};

} // namespace Kestrel

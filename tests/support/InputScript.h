#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace KestrelTest {

// Real mouse input (SendInput), played one step per tick of a thread timer so that the steps also
// run inside modal loops such as OLE's drag loop. Input is handled before the next WM_TIMER is
// generated, so each step sees what the steps before it caused. Once the steps are played, every
// further tick presses Escape and lets the left button go, so that a drag that did not end
// properly cannot hang the test.
class InputScript {
public:
    using Step = std::function<void()>;

    explicit InputScript(std::vector<Step> steps);
    ~InputScript();
    InputScript(const InputScript&) = delete;
    InputScript& operator=(const InputScript&) = delete;

    // Starts the ticks; the steps run while the thread handles its messages.
    void start();
    [[nodiscard]] bool done() const noexcept { return next_ >= steps_.size(); }
    // Plays the steps from the thread's message loop, with a bound; true when all were played.
    [[nodiscard]] bool play(DWORD boundMilliseconds = 5000);

    // The single inputs the steps are made of; points are in screen coordinates.
    static void moveTo(POINT screen);
    static void pressLeft(POINT screen);
    static void releaseLeft(POINT screen);

private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);
    void step();

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    UINT_PTR timer_ = 0;
};

} // namespace KestrelTest

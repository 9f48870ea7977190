#include "tests/support/InputScript.h"

#include "tests/support/MessagePump.h"

#include <gtest/gtest.h>

namespace KestrelTest {

namespace {

InputScript* running = nullptr;

// Absolute coordinates are 1/65536 of the screen; rounded up so that they map back to the pixel.
LONG absolute(LONG pixel, int metric)
{
    const LONG size = GetSystemMetrics(metric);
    return static_cast<LONG>((static_cast<LONGLONG>(pixel) * 65536 + size - 1) / size);
}

void sendMouse(DWORD flags, POINT screen)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = absolute(screen.x, SM_CXSCREEN);
    input.mi.dy = absolute(screen.y, SM_CYSCREEN);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    EXPECT_EQ(SendInput(1, &input, sizeof input), 1u) << "mouse input refused";
}

void pressEscape()
{
    INPUT keys[2]{};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof keys[0]);
}

} // namespace

InputScript::InputScript(std::vector<Step> steps) : steps_(std::move(steps)) {}

InputScript::~InputScript()
{
    if (timer_)
        KillTimer(nullptr, timer_);
    if (running == this)
        running = nullptr;
}

void InputScript::start()
{
    running = this;
    timer_ = SetTimer(nullptr, 0, 10, &InputScript::tick);
    EXPECT_NE(timer_, 0u) << "no timer for the input script";
}

bool InputScript::play(DWORD boundMilliseconds)
{
    start();
    return pumpUntil([this] { return done(); }, boundMilliseconds);
}

void InputScript::moveTo(POINT screen)
{
    sendMouse(0, screen);
}

void InputScript::pressLeft(POINT screen)
{
    sendMouse(MOUSEEVENTF_LEFTDOWN, screen);
}

void InputScript::releaseLeft(POINT screen)
{
    sendMouse(MOUSEEVENTF_LEFTUP, screen);
}

void CALLBACK InputScript::tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (running)
        running->step();
}

void InputScript::step()
{
    if (done()) {
        POINT cursor{};
        GetCursorPos(&cursor);
        pressEscape();
        releaseLeft(cursor);
        return;
    }
    // The step counts as played before it runs: a step that starts a modal loop returns only
    // when that loop ends, and the ticks go on meanwhile.
    const Step& current = steps_[next_++];
    current();
}

} // namespace KestrelTest

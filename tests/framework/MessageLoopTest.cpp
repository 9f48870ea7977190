#include "framework/CMessageLoop.h"
#include "framework/CWindowImpl.h"
#include "framework/HandlerFailure.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

namespace {

using Kestrel::CIdleHandler;
using Kestrel::CMessageFilter;
using Kestrel::CMessageLoop;

constexpr UINT kSystemTimer = 0x118;
constexpr UINT_PTR kProbeTimer = 7;

// A message-only window: no paint, mouse or activation traffic of its own disturbs the queue.
class Recorder : public Kestrel::CWindowImpl<Recorder> {
public:
    Recorder()
    {
        if (!create(HWND_MESSAGE, RECT{}, L"", 0))
            ADD_FAILURE() << "no window";
    }
    ~Recorder() override { destroyWindow(); }

    static constexpr auto messageMap()
    {
        return Kestrel::messageMapOf<Recorder>(Kestrel::onMessage<WM_TIMER, &Recorder::onTimer>);
    }

    // Messages the map does not name are recorded here and answered 0.
    bool processWindowMessage(Kestrel::Message& message) override
    {
        if (CWindowImpl::processWindowMessage(message))
            return true;
        if (message.id == WM_MOUSEMOVE || message.id == WM_NCMOUSEMOVE || message.id == WM_PAINT ||
            message.id == kSystemTimer || message.id >= WM_APP || message.id == WM_KEYDOWN || message.id == WM_CHAR) {
            received.push_back(message.id);
            if (onReceived)
                onReceived(message.id);
            return true;
        }
        return false;
    }

    std::vector<UINT> received;
    std::function<void(UINT)> onReceived;
    std::function<void()> onTick;

private:
    void onTimer(UINT_PTR id)
    {
        if (id != kProbeTimer)
            return;
        killTimer(id);
        if (onTick)
            onTick();
    }
};

struct CountingIdleHandler : CIdleHandler {
    bool onIdle() override
    {
        ++calls;
        if (onCall)
            onCall(calls);
        return false;
    }
    int calls = 0;
    std::function<void(int)> onCall;
};

struct RecordingFilter : CMessageFilter {
    explicit RecordingFilter(UINT consumed = 0) : consumed(consumed) {}
    bool preTranslateMessage(MSG& message) override
    {
        if (message.message < WM_APP && message.message != WM_KEYDOWN)
            return false;
        seen.push_back(message.message);
        if (onSeen)
            onSeen(message.message);
        return message.message == consumed;
    }
    UINT consumed;
    std::vector<UINT> seen;
    std::function<void(UINT)> onSeen;
};

// Each probe message is posted from an idle call; its handler arms a timer, and the tick records
// how many idle calls happened meanwhile. The queue is empty between the probe and the tick, so
// an idle call there would show. The first probe is no message at all (the loop's first idle
// period), the last is an ordinary message, after which idle work is due again.
TEST(MessageLoop, IdleWorkRunsOncePerIdlePeriodAndOnlyOrdinaryMessagesRearmIt)
{
    Recorder window;
    CountingIdleHandler idle;
    const std::vector<UINT> probes{0, WM_MOUSEMOVE, WM_NCMOUSEMOVE, WM_PAINT, kSystemTimer, WM_APP};
    std::vector<int> idleCallsAtTick;

    size_t posted = 0;
    idle.onCall = [&](int) {
        // The next probe goes out once the previous one has ticked.
        if (posted != idleCallsAtTick.size() || posted == probes.size())
            return;
        if (probes[posted] == 0)
            EXPECT_TRUE(window.setTimer(kProbeTimer, 10));
        else
            EXPECT_TRUE(window.postMessage(probes[posted]));
        ++posted;
    };
    window.onReceived = [&](UINT) { EXPECT_TRUE(window.setTimer(kProbeTimer, 10)); };
    window.onTick = [&] {
        idleCallsAtTick.push_back(idle.calls);
        if (idleCallsAtTick.size() == probes.size())
            PostQuitMessage(0);
    };

    CMessageLoop loop;
    loop.addIdleHandler(&idle);
    EXPECT_EQ(loop.run(), 0);

    // One idle call before each probe's tick; after the ordinary WM_APP a second one.
    EXPECT_EQ(idleCallsAtTick, (std::vector<int>{1, 2, 3, 4, 5, 7}));
    EXPECT_EQ(window.received, (std::vector<UINT>{WM_MOUSEMOVE, WM_NCMOUSEMOVE, WM_PAINT, kSystemTimer, WM_APP}));
}

TEST(MessageLoop, ConsumingFilterHidesTheMessageFromEarlierFiltersFromTranslationAndDispatch)
{
    Recorder window;
    RecordingFilter first;
    RecordingFilter consumer(WM_APP + 1);
    RecordingFilter last;
    RecordingFilter keyConsumer(WM_KEYDOWN);
    CMessageLoop loop;
    loop.addMessageFilter(&first);
    loop.addMessageFilter(&consumer);
    loop.addMessageFilter(&last);

    ASSERT_TRUE(window.postMessage(WM_APP + 1));
    ASSERT_TRUE(window.postMessage(WM_APP + 2));
    PostQuitMessage(2);
    EXPECT_EQ(loop.run(), 2);

    EXPECT_EQ(last.seen, (std::vector<UINT>{WM_APP + 1, WM_APP + 2}));
    EXPECT_EQ(consumer.seen, (std::vector<UINT>{WM_APP + 1, WM_APP + 2}));
    EXPECT_EQ(first.seen, (std::vector<UINT>{WM_APP + 2}));
    EXPECT_EQ(window.received, (std::vector<UINT>{WM_APP + 2}));

    // A consumed key is not translated into a character; one that passes is.
    loop.removeMessageFilter(&consumer);
    loop.removeMessageFilter(&first);
    loop.addMessageFilter(&keyConsumer);
    window.received.clear();
    const LPARAM keyA = 1 | (0x1E << 16);
    ASSERT_TRUE(window.postMessage(WM_KEYDOWN, 'A', keyA));
    PostQuitMessage(3);
    EXPECT_EQ(loop.run(), 3);
    EXPECT_TRUE(window.received.empty());

    loop.removeMessageFilter(&keyConsumer);
    ASSERT_TRUE(window.postMessage(WM_KEYDOWN, 'A', keyA));
    PostQuitMessage(4);
    EXPECT_EQ(loop.run(), 4);
    EXPECT_EQ(window.received, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR}));
}

TEST(MessageLoop, FiltersLeavingDuringTheWalkAreNotCalled)
{
    Recorder window;
    RecordingFilter first;
    RecordingFilter second;
    RecordingFilter third;
    CMessageLoop loop;
    loop.addMessageFilter(&first);
    loop.addMessageFilter(&second);
    loop.addMessageFilter(&third);
    RecordingFilter stranger;
    loop.removeMessageFilter(&stranger); // not registered: nothing happens
    third.onSeen = [&](UINT) { loop.removeMessageFilter(&second); };

    ASSERT_TRUE(window.postMessage(WM_APP));
    PostQuitMessage(2);
    EXPECT_EQ(loop.run(), 2);
    EXPECT_EQ(third.seen.size(), 1u);
    EXPECT_TRUE(second.seen.empty());
    EXPECT_EQ(first.seen.size(), 1u);
    EXPECT_EQ(window.received.size(), 1u);
}

TEST(MessageLoop, PostedQuitEndsTheLoopWithItsCodeAndLeavesLaterMessagesQueued)
{
    Recorder window;
    CMessageLoop loop;
    CountingIdleHandler idle;
    idle.onCall = [](int) { PostQuitMessage(2); };
    loop.addIdleHandler(&idle);
    EXPECT_EQ(loop.run(), 2);
    EXPECT_EQ(idle.calls, 1);

    loop.removeIdleHandler(&idle);
    ASSERT_TRUE(window.postMessage(WM_APP + 5));
    PostQuitMessage(0);
    EXPECT_EQ(loop.run(), 0);
    EXPECT_EQ(window.received, (std::vector<UINT>{WM_APP + 5}));
}

TEST(MessageLoop, HandlerExceptionLeavesTheWindowProcedureAndSurfacesFromRun)
{
    Recorder window;
    window.onReceived = [](UINT id) {
        if (id == WM_APP + 9)
            throw std::runtime_error("handler failed");
    };
    CMessageLoop loop;
    ASSERT_TRUE(window.postMessage(WM_APP + 9));
    EXPECT_THROW(loop.run(), std::runtime_error);
    EXPECT_FALSE(Kestrel::hasHandlerFailure());

    // The window and the loop still work afterwards.
    window.onReceived = nullptr;
    ASSERT_TRUE(window.postMessage(WM_APP + 1));
    PostQuitMessage(5);
    EXPECT_EQ(loop.run(), 5);
    EXPECT_EQ(window.received.back(), WM_APP + 1u);
}

} // namespace

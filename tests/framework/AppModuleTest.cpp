#include "framework/CAppModule.h"
#include "framework/CMessageLoop.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using Kestrel::CAppModule;
using Kestrel::CMessageLoop;

TEST(AppModule, FindsEachThreadsLoopAndNullForAThreadWithout)
{
    CAppModule module;
    module.initialise(GetModuleHandleW(nullptr));
    EXPECT_EQ(module.mainThreadId(), GetCurrentThreadId());
    EXPECT_EQ(module.instanceHandle(), GetModuleHandleW(nullptr));
    EXPECT_EQ(module.getMessageLoop(), nullptr);

    CMessageLoop mainLoop;
    CMessageLoop secondLoop;
    EXPECT_TRUE(module.addMessageLoop(&mainLoop));
    EXPECT_FALSE(module.addMessageLoop(&secondLoop)); // one loop per thread
    EXPECT_FALSE(module.addMessageLoop(nullptr));
    EXPECT_EQ(module.getMessageLoop(), &mainLoop);

    const DWORD mainThread = GetCurrentThreadId();
    CMessageLoop* seenBeforeOwn = &secondLoop;
    CMessageLoop* mainSeenFromThere = nullptr;
    CMessageLoop* ownAfterAdd = nullptr;
    DWORD otherThread = 0;
    std::thread other([&] {
        otherThread = GetCurrentThreadId();
        seenBeforeOwn = module.getMessageLoop();
        mainSeenFromThere = module.getMessageLoop(mainThread);
        if (module.addMessageLoop(&secondLoop))
            ownAfterAdd = module.getMessageLoop();
    });
    other.join();
    EXPECT_EQ(seenBeforeOwn, nullptr);
    EXPECT_EQ(mainSeenFromThere, &mainLoop);
    EXPECT_EQ(ownAfterAdd, &secondLoop);
    EXPECT_EQ(module.getMessageLoop(otherThread), &secondLoop);

    module.removeMessageLoop();
    EXPECT_EQ(module.getMessageLoop(), nullptr);
    EXPECT_EQ(module.getMessageLoop(otherThread), &secondLoop); // only the caller's own loop goes
    module.removeMessageLoop();                                  // none left for this thread: nothing
    EXPECT_TRUE(module.addMessageLoop(&mainLoop));

    module.terminate();
    EXPECT_EQ(module.getMessageLoop(), nullptr);
    EXPECT_EQ(module.getMessageLoop(otherThread), nullptr);
    EXPECT_EQ(module.mainThreadId(), 0u);
}

} // namespace

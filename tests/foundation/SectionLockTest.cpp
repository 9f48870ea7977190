#include "foundation/SectionLock.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

using Kestrel::SectionGuard;
using Kestrel::SectionLock;

TEST(SectionLock, GuardsKeepReadModifyWriteWhole)
{
    SectionLock lock;
    volatile long counter = 0;
    constexpr int kPerThread = 2000;
    auto work = [&] {
        for (int i = 0; i < kPerThread; ++i) {
            SectionGuard guard(lock);
            const long seen = counter;
            SwitchToThread();
            counter = seen + 1;
        }
    };
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i)
        threads.emplace_back(work);
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(counter, 4L * kPerThread);
}

TEST(SectionLock, IsRecursiveForItsOwnerAndReleasedByEachGuard)
{
    SectionLock lock;
    {
        SectionGuard outer(lock);
        SectionGuard inner(lock); // a second entry by the owner must not deadlock
    }
    bool enteredElsewhere = false;
    std::thread other([&] {
        SectionGuard guard(lock);
        enteredElsewhere = true;
    });
    other.join();
    EXPECT_TRUE(enteredElsewhere);
}

} // namespace

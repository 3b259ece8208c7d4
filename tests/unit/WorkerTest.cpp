// The one worker type: nothing it runs can end the process, its owner never waits for it, and
// the end learns which workers are still in their reads.
#include <gtest/gtest.h>

#include <atomic>
#include <new>

#include "toolkit/Log.h"
#include "toolkit/Worker.h"

TEST(Worker, WhatItsWorkThrowsIsLoggedAndAStopReachesItsWork) {
    const long before = tk::Worker::Running();
    {
        tk::LogCapture log;
        const struct {
            const wchar_t* name;
            bool throws;
        } cases[] = {{L"decode of a 4K frame", true}, {L"read of a slow share", false}};
        for (const auto& c : cases) {
            std::atomic<bool> stopped{false};
            tk::Worker worker(c.name, [&](const tk::StopToken& stop) {
                if (c.throws) throw std::bad_alloc();
                while (!stop.Stopped())
                    Sleep(1);
                stopped = true;
            });
            ASSERT_TRUE(worker.Started());
            if (!c.throws) {
                EXPECT_FALSE(worker.Wait(50)) << "it ended before it was stopped";
                EXPECT_EQ(tk::Worker::WaitForAll(0), std::vector<std::wstring>{c.name});
                worker.Stop();
            }
            EXPECT_TRUE(worker.Wait(5000));
            EXPECT_EQ(stopped.load(), !c.throws);
            EXPECT_EQ(log.Holds(std::wstring(L"worker \"") + c.name + L"\" stopped on an error"),
                      c.throws);
        }
    }
    EXPECT_TRUE(tk::Worker::WaitForAll(5000).empty());
    EXPECT_EQ(tk::Worker::Running(), before);
}

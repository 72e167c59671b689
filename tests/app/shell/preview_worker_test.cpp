#include "app/shell/preview_worker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace kodaro {
namespace {

TEST(PreviewLoop, ManyChangesWithinOnePassRegenerateOnce) {
    PreviewFlags flags;
    flags.running = true;
    int regenerations = 0;
    int passes = 0;
    RunPreviewLoop(
        flags, [&] { ++regenerations; },
        [&] {
            ++passes;
            if (passes == 1) {
                for (int i = 0; i < 10; ++i) {
                    flags.dirty = true;
                }
            }
            if (passes == 3) {
                flags.running = false;
            }
        });
    EXPECT_EQ(regenerations, 1);
    EXPECT_EQ(passes, 3);
    EXPECT_FALSE(flags.dirty);
}

TEST(PreviewLoop, AChangeDuringARegenerationIsNotSwallowed) {
    PreviewFlags flags;
    flags.running = true;
    flags.dirty = true;
    int regenerations = 0;
    int passes = 0;
    RunPreviewLoop(
        flags,
        [&] {
            ++regenerations;
            if (regenerations == 1) {
                flags.dirty = true; // the user typed while the symbol was made
            }
        },
        [&] {
            if (++passes == 4) {
                flags.running = false;
            }
        });
    EXPECT_EQ(regenerations, 2);
}

TEST(PreviewLoop, ReselectingTheKindKeepsAPendingRegenerationAndSwitchingDropsIt) {
    PreviewFlags flags;
    ContentType kind = ContentType::Text;
    // Runs one pass of the loop; true when it regenerated.
    const auto onePass = [&] {
        bool regenerated = false;
        flags.running = true;
        RunPreviewLoop(
            flags, [&] { regenerated = true; }, [&] { flags.running = false; });
        return regenerated;
    };

    flags.dirty = true; // typed into the text box
    EXPECT_FALSE(SwitchPreviewKind(flags, kind, ContentType::Text));
    EXPECT_EQ(kind, ContentType::Text);
    EXPECT_TRUE(onePass());

    flags.dirty = true;
    EXPECT_TRUE(SwitchPreviewKind(flags, kind, ContentType::Card));
    EXPECT_EQ(kind, ContentType::Card);
    EXPECT_FALSE(onePass()) << "the text's change regenerated the card";

    flags.dirty = true; // the card's boxes change after the switch
    EXPECT_TRUE(onePass());
}

TEST(PreviewLoop, StopsAtTheFirstCheckAfterRunningTurnsFalse) {
    PreviewFlags flags;
    int calls = 0;
    RunPreviewLoop(
        flags, [&] { ++calls; }, [&] { ++calls; });
    EXPECT_EQ(calls, 0) << "never running: no pass at all";

    flags.running = true;
    flags.dirty = true;
    int regenerations = 0;
    int pauses = 0;
    RunPreviewLoop(
        flags,
        [&] {
            ++regenerations;
            flags.running = false; // the window closed during the regeneration
            flags.dirty = true;
        },
        [&] { ++pauses; });
    EXPECT_EQ(regenerations, 1);
    EXPECT_EQ(pauses, 1);
    EXPECT_TRUE(flags.dirty) << "a pending change after close is left alone";
}

TEST(PreviewWorker, ThreadRegeneratesWhenDirtyAndStops) {
    // Static: the worker is never joined and may look at the flags after the test.
    static PreviewFlags flags;
    static std::mutex mutex;
    static std::condition_variable changed;
    static int regenerations = 0;
    flags.running = true;
    ASSERT_TRUE(StartPreviewWorker(flags, [] {
        std::lock_guard lock(mutex);
        ++regenerations;
        changed.notify_all();
    }));
    flags.dirty = true;
    std::unique_lock lock(mutex);
    ASSERT_TRUE(
        changed.wait_for(lock, std::chrono::seconds(20), [] { return regenerations == 1; }));
    flags.running = false;
}

} // namespace
} // namespace kodaro

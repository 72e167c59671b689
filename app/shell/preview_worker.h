// The background thread that keeps the preview current: it polls a dirty
// flag twice a second and regenerates the symbol when the flag is set.
#pragma once

#include "app/content/content_payload.h"

#include <windows.h>

#include <atomic>
#include <functional>

namespace kodaro {

// Shared between the user-interface thread and the worker. The UI thread sets
// `dirty` on every change that affects the symbol and clears `running` when the
// main window closes; the worker only reads `running`.
struct PreviewFlags {
    std::atomic<bool> running{false};
    std::atomic<bool> dirty{false};
};

// The program's flags; never destroyed.
PreviewFlags& ProcessPreviewFlags();

inline constexpr DWORD kPreviewPollMilliseconds = 500;

// The create page's kind switch as the preview sees it. Choosing the kind
// already current changes nothing, so a pending regeneration stays; another
// kind becomes current and drops the pending one: the preview keeps the old
// kind's symbol until the new kind's boxes change. True when the kind changed.
bool SwitchPreviewKind(PreviewFlags& flags, ContentType& current, ContentType chosen);

// The worker's loop: while running, regenerate when dirty, then pause. The
// flag is cleared before regenerate runs, so a change made during a
// regeneration leads to one more. Returns at the first check after running
// turns false.
void RunPreviewLoop(PreviewFlags& flags, const std::function<void()>& regenerate,
                    const std::function<void()>& pause);

// Runs the loop on a thread of its own that pauses kPreviewPollMilliseconds
// between passes. The thread is never joined (its handle is closed at once);
// flags and regenerate must outlive it. False when no thread could be made.
bool StartPreviewWorker(PreviewFlags& flags, std::function<void()> regenerate);

} // namespace kodaro

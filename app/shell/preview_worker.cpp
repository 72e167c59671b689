#include "app/shell/preview_worker.h"

#include <memory>

namespace kodaro {

PreviewFlags& ProcessPreviewFlags() {
    static PreviewFlags flags;
    return flags;
}

bool SwitchPreviewKind(PreviewFlags& flags, ContentType& current, ContentType chosen) {
    if (chosen == current) {
        return false;
    }
    flags.dirty = false;
    current = chosen;
    return true;
}

void RunPreviewLoop(PreviewFlags& flags, const std::function<void()>& regenerate,
                    const std::function<void()>& pause) {
    while (flags.running.load()) {
        if (flags.dirty.exchange(false)) {
            regenerate();
        }
        pause();
    }
}

namespace {

struct WorkerStart {
    PreviewFlags& flags;
    std::function<void()> regenerate;
};

DWORD WINAPI PreviewWorkerThread(void* parameter) {
    std::unique_ptr<WorkerStart> start(static_cast<WorkerStart*>(parameter));
    RunPreviewLoop(start->flags, start->regenerate, [] { Sleep(kPreviewPollMilliseconds); });
    return 0;
}

} // namespace

bool StartPreviewWorker(PreviewFlags& flags, std::function<void()> regenerate) {
    auto start = std::make_unique<WorkerStart>(WorkerStart{flags, std::move(regenerate)});
    HANDLE thread = CreateThread(nullptr, 0, PreviewWorkerThread, start.get(), 0, nullptr);
    if (thread == nullptr) {
        return false;
    }
    start.release();
    CloseHandle(thread);
    return true;
}

} // namespace kodaro

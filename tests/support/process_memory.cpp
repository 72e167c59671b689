#include "tests/support/process_memory.h"

#include <psapi.h>

namespace kodaro::test {

SIZE_T WorkingSetBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.WorkingSetSize;
}

} // namespace kodaro::test

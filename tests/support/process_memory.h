#pragma once
// The memory the test process holds, for leak checks that must also work
// under Wine (which counts no GUI objects and reports no private bytes).

#include <windows.h>

namespace kodaro::test {

// Bytes of the process's working set: memory it has touched and still holds.
SIZE_T WorkingSetBytes();

} // namespace kodaro::test

# Windows i686 with MinGW-w64 (posix threads variant, for std::thread).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KODARO_TRIPLE i686-w64-mingw32)
set(CMAKE_C_COMPILER ${KODARO_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KODARO_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KODARO_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KODARO_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The 32-bit programs cannot run on this machine: they are built and linked only.

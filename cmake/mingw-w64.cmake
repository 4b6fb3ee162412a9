# Cross-compiles the Windows build with Debian's MinGW-w64 (package g++-mingw-w64-x86-64-posix).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# One self-contained executable: no MinGW runtime DLLs to ship beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# GCC 12 at -O3 reports a false overlap inside std::string's operator+ (GCC bug 105329).
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")

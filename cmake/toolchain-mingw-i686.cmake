# Cross-build for 32-bit Windows with Debian's MinGW-w64, to check that the
# DLL builds with the stdcall convention and its fixed export ordinals.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Every program and library carries its own C++ runtime, so nothing beyond
# the system's DLLs, zelodll.dll and pendra.dll has to be found at run time.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -static)
# GCC 12 reports a false -Wrestrict inside std::string when it inlines at -O3
# (GCC bug 105329), which warnings-as-errors would turn into a failed build.
set(CMAKE_CXX_FLAGS_INIT -Wno-restrict)

# Cross-building for 64-bit Windows with Debian's mingw-w64 compilers.
# The -posix compilers: the plain names are the win32-threads build, without std::thread.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)
set(CMAKE_AR ${MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

# Libraries and headers come from the mingw sysroot and from the dependency prefix
# (PLANDOWN_WINDOWS_PREFIX, built by scripts/windows-deps.sh); programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
if(DEFINED ENV{PLANDOWN_WINDOWS_PREFIX})
  list(PREPEND CMAKE_FIND_ROOT_PATH $ENV{PLANDOWN_WINDOWS_PREFIX})
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PLANDOWN_WINDOWS_PREFIX)
if(PLANDOWN_WINDOWS_PREFIX)
  list(PREPEND CMAKE_FIND_ROOT_PATH ${PLANDOWN_WINDOWS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static archives first, so that nothing needs a DLL beside the program.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a .dll.a .lib)

# Cross compiling for 64-bit Windows with Debian's MinGW-w64 compilers. The -posix variants have
# std::thread and std::mutex (on winpthreads); linking the runtime statically lets the programs
# run under Wine, or on a Windows machine, without MinGW's DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QDAX_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QDAX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QDAX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QDAX_MINGW_TRIPLET}-windres)

# QDAX_MINGW_EXTRA_ROOT adds a tree of Windows libraries built here (Qt) to the search.
set(CMAKE_FIND_ROOT_PATH /usr/${QDAX_MINGW_TRIPLET} ${QDAX_MINGW_EXTRA_ROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every binary, the DLLs included, carries its own copy of the C and C++ runtimes.
set(QDAX_MINGW_STATIC_RUNTIME "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${QDAX_MINGW_STATIC_RUNTIME}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${QDAX_MINGW_STATIC_RUNTIME}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${QDAX_MINGW_STATIC_RUNTIME}")

# Cross compiling for 64-bit Windows with Debian's MinGW-w64 compilers. The -posix variants have
# std::thread and std::mutex (on winpthreads); linking the runtime statically lets the programs
# run under Wine, or on a Windows machine, without MinGW's DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QDAX_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QDAX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QDAX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QDAX_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QDAX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

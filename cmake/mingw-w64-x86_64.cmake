# Cross build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64).
#
#   cmake -S . -B build/mingw -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DPW_BUILD_GUI=OFF ...
#
# The data layer's executables are linked statically, so Wine (or Windows)
# runs them without looking for the compiler's DLLs. ctest runs them through
# Wine; set PW_WINEPREFIX to run them in a given prefix rather than ~/.wine.
#
# The editor is built against a Qt for Windows (scripts/build-qt-windows.sh)
# given by CMAKE_PREFIX_PATH, with QT_HOST_PATH naming the machine's Qt whose
# moc, rcc, uic and lrelease run at build time. Its DLLs use the compiler's
# runtime DLLs, and so must the editor: one C++ runtime in the process
# (PW_MINGW_SHARED_RUNTIME=ON; scripts/build-windows.sh sets it).

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PW_MINGW_TRIPLE x86_64-w64-mingw32)

# The -posix variants: their libstdc++ has std::thread and std::mutex, which
# the win32 thread model of GCC 12 lacks.
find_program(CMAKE_C_COMPILER NAMES ${PW_MINGW_TRIPLE}-gcc-posix ${PW_MINGW_TRIPLE}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${PW_MINGW_TRIPLE}-g++-posix ${PW_MINGW_TRIPLE}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${PW_MINGW_TRIPLE}-windres windres)
# The -posix suffix hides the binutils' prefix from CMake: name the strip tool.
find_program(CMAKE_STRIP NAMES ${PW_MINGW_TRIPLE}-strip)

# Headers and libraries of the target only; programs of the build machine.
# A Qt for Windows outside /usr is a root of target files too.
set(CMAKE_FIND_ROOT_PATH /usr/${PW_MINGW_TRIPLE} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and winpthread linked in: no DLL hunting at run time.
if(NOT PW_MINGW_SHARED_RUNTIME)
    set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
    set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
    set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
endif()

# Debian installs the 64-bit loader as /usr/lib/wine/wine64 and a `wine`
# wrapper that picks it when no 32-bit Wine is present.
find_program(PW_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
set(PW_WINEPREFIX "" CACHE PATH "Wine prefix in which ctest runs the executables (empty: Wine's default)")
if(PW_WINE)
    if(PW_WINEPREFIX)
        # No display and no Mono/Gecko installers: the tests are console programs.
        set(CMAKE_CROSSCOMPILING_EMULATOR
            env WINEPREFIX=${PW_WINEPREFIX} WINEARCH=win64 WINEDEBUG=-all DISPLAY=
                WINEDLLOVERRIDES=mscoree,mshtml= ${PW_WINE})
    else()
        set(CMAKE_CROSSCOMPILING_EMULATOR ${PW_WINE})
    endif()
endif()

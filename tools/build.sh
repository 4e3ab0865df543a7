# Sourced by ./test and ./run: configures (once) and builds the native and the cross tree.
build_native() {
  [ -f build/native/CMakeCache.txt ] || cmake -S . -B build/native >/dev/null
  cmake --build build/native -j"$(nproc)" -- --no-print-directory
}
build_win32() {
  [ -f build/win32/CMakeCache.txt ] || \
    cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake >/dev/null
  cmake --build build/win32 -j"$(nproc)" -- --no-print-directory
}
# Starts the Wine server and services detached from every pipe (a server holding CTest's pipe
# slows each test by seconds or hangs the run).
start_wine() {
  tools/wine-prefix.sh "$PWD/build/win32/wineprefix"
  export WINEPREFIX="$PWD/build/win32/wineprefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  wineserver -p >/dev/null 2>&1 </dev/null
  wine cmd /c exit >/dev/null 2>&1 </dev/null
}
stop_wine() {
  WINEPREFIX="$PWD/build/win32/wineprefix" wineserver -k >/dev/null 2>&1 </dev/null || true
}

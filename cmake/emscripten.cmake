# The web build with Debian's Emscripten: WebAssembly for a browser, and the
# unit tests run by Node.
#   cmake -S . -B build-web/engine -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten.cmake
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# Debian's acorn, which emcc's JavaScript optimiser loads, lives where the
# machine's node may not look (scripts/build-web exports the same for emcc).
set(ENV{NODE_PATH} /usr/share/nodejs)

# C++ exceptions everywhere: std::bad_alloc must reach the engine's
# out-of-memory stop, and the platform layer throws across its own code.
set(CMAKE_C_FLAGS_INIT "-fexceptions")
set(CMAKE_CXX_FLAGS_INIT "-fexceptions")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fexceptions")

# Libraries built for this toolchain (zlib, libjpeg, GoogleTest) are appended
# by their users; the system's own folders are never searched for them.
set(ZLIB_USE_STATIC_LIBS ON)

# Test programs run under Node. This Emscripten fetches its wasm with fetch()
# wherever there is one, and Node's cannot read files: Node goes without it.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/node --no-experimental-fetch)

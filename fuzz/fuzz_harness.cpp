#include "fuzz/fuzz_harness.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "platform/test_seams.h"

FuzzHarness& FuzzHarness::instance() {
    static FuzzHarness harness;
    return harness;
}

FuzzHarness::FuzzHarness() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kvor-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a scratch directory");
    directory = pattern;
    // Every fatal stop shows its box before it ends the process: end it here.
    platform::setMessageBoxHook([](std::string_view, std::string_view) { throw FatalStop{}; });
}

FuzzHarness::~FuzzHarness() {
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
}

const std::string& FuzzHarness::write(std::span<const uint8_t> bytes, const char* extension) {
    path = directory + "/input." + extension;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) throw std::runtime_error("cannot write " + path);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return path;
}

std::filesystem::path FuzzHarness::emptyFolder(const char* name) const {
    const std::filesystem::path folder = std::filesystem::path(directory) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

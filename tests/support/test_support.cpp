#include "tests/support/test_support.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <sstream>

#include "app/log.h"
#include "platform/hooks.h"

namespace testing_support {

ScratchDirectory::ScratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kvor-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a scratch directory");
    root = pattern;
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream content;
    content << stream.rdbuf();
    return content.str();
}

void writeFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream stream(path, std::ios::binary);
    stream << content;
}

void writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& content) {
    writeFile(path, std::string(content.begin(), content.end()));
}

LogCapture::LogCapture() : file(directory / "kvorlog.txt") {
    logClose();
    logOpen(file.c_str(), nullptr);
}

LogCapture::~LogCapture() { logClose(); }

std::string LogCapture::text() const {
    logFlush();
    return readFile(file);
}

std::string LogCapture::textAfterStartLine() const {
    std::string all = text();
    size_t first = all.find('\n');
    size_t second = first == std::string::npos ? first : all.find('\n', first + 1);
    return second == std::string::npos ? std::string() : all.substr(second + 1);
}

DebugOutputCapture::DebugOutputCapture() {
    platform::setDebugOutputHook([this](std::string_view text) { collected.append(text); });
}

DebugOutputCapture::~DebugOutputCapture() { platform::setDebugOutputHook({}); }

}  // namespace testing_support

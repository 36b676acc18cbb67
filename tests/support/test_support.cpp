#include "tests/support/test_support.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "base/log.h"

namespace testing_support {

// create_directory says false for a name already taken: each test gets a folder no one else has.
ScratchDirectory::ScratchDirectory() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate =
            std::filesystem::temp_directory_path() / ("kvor-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            root = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a scratch directory");
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

std::string readTextFile(const std::filesystem::path& path) {
    std::ifstream stream(path);
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
    logOpen(file.string().c_str(), nullptr);
}

LogCapture::~LogCapture() { logClose(); }

std::string LogCapture::text() const {
    logFlush();
    return readTextFile(file);
}

std::string LogCapture::textAfterStartLine() const {
    std::string all = text();
    size_t first = all.find('\n');
    size_t second = first == std::string::npos ? first : all.find('\n', first + 1);
    return second == std::string::npos ? std::string() : all.substr(second + 1);
}

}  // namespace testing_support

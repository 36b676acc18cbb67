#include "base/log.h"

#include <cstdarg>
#include <cstdio>

#include "base/fatal.h"
#include "platform/win32.h"

namespace {

std::FILE* logStream = nullptr;

void writeStartLine() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char line[96];
    std::snprintf(line, sizeof line, "kvor launched the %d/%d/%d at %d:%d\n", now.wDay, now.wMonth, now.wYear,
                  now.wHour, now.wMinute);
    OutputDebugStringA(line);
    logWrite(line);
}

}  // namespace

void logOpen(const char* fileName, Scene* scene) {
    if (logStream == nullptr) {
        logStream = std::fopen(nativePath(fileName).c_str(), "w");
        if (logStream == nullptr) fatalError(1);
        writeStartLine();
    }
    registeredScene = scene;
}

void logWrite(const char* text) { logWrite2(text, ""); }

void logWrite2(const char* text, const char* suffix) {
    if (logStream == nullptr) return;
    std::fputs(text ? text : "", logStream);
    std::fputs(suffix ? suffix : "", logStream);
    std::fputc('\n', logStream);
}

void logFormat(const char* format, ...) {
    if (logStream == nullptr) return;
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(logStream, format, arguments);
    va_end(arguments);
}

void logFlush() {
    if (logStream != nullptr) std::fflush(logStream);
}

void logClose() {
    if (logStream == nullptr) return;
    std::fclose(logStream);
    logStream = nullptr;
}

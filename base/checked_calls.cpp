#include "base/checked_calls.h"

#include <string>

#include "base/description_table.h"
#include "base/fatal.h"
#include "base/log.h"

std::FILE* openOrFail(const char* path, const char* mode) {
    if (std::FILE* stream = std::fopen(nativePath(path).c_str(), mode)) return stream;
    logWrite2("error while opening  : ", path);
    logFlush();
    std::string message = std::string("cannot read") + (path ? path : "");
    fatalMessage(message.c_str());
}

void checkResult(HRESULT result, const char* operation) {
    const char* status = result < 0 ? " failed" : " success";
    logWrite2(operation, status);
    OutputDebugStringA(operation);
    OutputDebugStringA(status);
    OutputDebugStringA("\n");
    if (result >= 0) return;
    logFormat("%s", " cause : ");
    const char* description = findDescription(result);
    logWrite(description ? description : " don't know the reason");
    fatalMessage(operation);
}

// On Windows OutputDebugStringA raises DBG_PRINTEXCEPTION_C with the text's
// length (NUL included) and address; a vectored handler that continues the
// execution takes the text and keeps it from the debugger.
#include <windows.h>

#include "tests/support/test_support.h"

namespace testing_support {

namespace {

std::string* collecting = nullptr;
PVOID handler = nullptr;

LONG CALLBACK collectDebugOutput(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    if (record.ExceptionCode != DBG_PRINTEXCEPTION_C || collecting == nullptr || record.NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    const auto length = static_cast<size_t>(record.ExceptionInformation[0]);
    const auto* text = reinterpret_cast<const char*>(record.ExceptionInformation[1]);
    if (length > 0) collecting->append(text, length - 1);
    return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

DebugOutputCapture::DebugOutputCapture() {
    collecting = &collected;
    handler = AddVectoredExceptionHandler(1, collectDebugOutput);
}

DebugOutputCapture::~DebugOutputCapture() {
    collecting = nullptr;
    RemoveVectoredExceptionHandler(handler);
    handler = nullptr;
}

}  // namespace testing_support

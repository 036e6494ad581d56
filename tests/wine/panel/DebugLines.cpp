#include "DebugLines.h"

namespace paneltest {

namespace {

constexpr DWORD kPrintException = 0x40010006;  // DBG_PRINTEXCEPTION_C
DebugLines* g_catcher = nullptr;

}  // namespace

DebugLines::DebugLines() {
    g_catcher = this;
    handler_ = ::AddVectoredExceptionHandler(1, Handler);
}

DebugLines::~DebugLines() {
    if (handler_) ::RemoveVectoredExceptionHandler(handler_);
    if (g_catcher == this) g_catcher = nullptr;
}

LONG CALLBACK DebugLines::Handler(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* r = info ? info->ExceptionRecord : nullptr;
    if (g_catcher && r && r->ExceptionCode == kPrintException && r->NumberParameters >= 2) {
        // Parameters: the length with its terminator, then the text.
        const size_t length = static_cast<size_t>(r->ExceptionInformation[0]);
        const char* text = reinterpret_cast<const char*>(r->ExceptionInformation[1]);
        if (text && length > 0) g_catcher->lines_.emplace_back(text, length - 1);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace paneltest

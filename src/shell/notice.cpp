// The notice line: failures of the user's requests and work under way, shown for a few
// seconds where the overlay's help line is. The browser and the key bindings report here;
// the overlay draws it.
#include "shell/notice.h"

#include <cstdarg>
#include <cstdio>

#include "platform/platform.h"

NoticeRecord Notice;

namespace {

void Show(int progress, const char* format, va_list arguments) {
    std::vsnprintf(Notice.text, sizeof Notice.text, format, arguments);
    Notice.until = platform::Sys().SteadyMicroseconds() + NOTICE_MICROSECONDS;
    Notice.progress = progress;
}

}  // namespace

void ReportFailure(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    Show(0, format, arguments);
    va_end(arguments);
    std::fprintf(stderr, "quentaro: %s\n", Notice.text);
}

void ShowNotice(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    Show(0, format, arguments);
    va_end(arguments);
}

void ShowProgress(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    Show(1, format, arguments);
    va_end(arguments);
}

void EndProgressNotice() {
    if (Notice.progress == 1) Notice = NoticeRecord{};
}

const char* CurrentNotice() {
    if (Notice.text[0] == '\0' || platform::Sys().SteadyMicroseconds() >= Notice.until) return "";
    return Notice.text;
}

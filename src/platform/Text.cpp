#include "platform/Text.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <mutex>

namespace tvk {

std::string StrFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (n > 0) {
        out.resize(static_cast<size_t>(n) + 1);
        std::vsnprintf(out.data(), out.size(), format, args);
        out.resize(static_cast<size_t>(n));
    }
    va_end(args);
    return out;
}

std::string FormatLocalTime(const char* strftimeFormat) {
    static std::mutex localeMutex;  // setlocale is process-wide
    std::lock_guard<std::mutex> lock(localeMutex);
    std::string saved;
    if (const char* cur = std::setlocale(LC_TIME, nullptr)) saved = cur;
    std::setlocale(LC_TIME, "");
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buf[256];
    size_t n = std::strftime(buf, sizeof buf, strftimeFormat, &local);
    std::setlocale(LC_TIME, saved.empty() ? "C" : saved.c_str());
    return std::string(buf, n);
}

}  // namespace tvk

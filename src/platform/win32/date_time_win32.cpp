#include "win32_api.h"

#include "date_time_win32.h"
#include "format_text.h"
#include "win32_text.h"

#include <optional>

namespace zavo::platform {
namespace {

// The reading as a SYSTEMTIME with its day of the week, or nullopt when it is
// no date of the Windows calendar (1601 to 30827). The fields are checked
// before they are narrowed to WORD, so a month of 0 or -1 cannot wrap into a
// valid one, and the FILETIME round trip rejects 30 February.
std::optional<SYSTEMTIME> systemTime(const LocalDateTime& t) {
    const auto in = [](int v, int lo, int hi) { return v >= lo && v <= hi; };
    if (!in(t.year, 1601, 30827) || !in(t.month, 1, 12) || !in(t.day, 1, 31) ||
        !in(t.hour, 0, 23) || !in(t.minute, 0, 59) || !in(t.second, 0, 59))
        return std::nullopt;
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.year);
    st.wMonth = static_cast<WORD>(t.month);
    st.wDay = static_cast<WORD>(t.day);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    FILETIME ft;
    SYSTEMTIME checked;
    if (!SystemTimeToFileTime(&st, &ft) || !FileTimeToSystemTime(&ft, &checked) ||
        checked.wDay != st.wDay || checked.wMonth != st.wMonth)
        return std::nullopt;
    return checked; // wDayOfWeek filled in
}

template <class Format> std::string text(const LocalDateTime& when, Format format) {
    const std::optional<SYSTEMTIME> st = systemTime(when);
    if (!st)
        return {};
    const std::optional<std::wstring> t =
        formatText([&](wchar_t* out, int size) { return format(&*st, out, size); });
    return t ? narrowUtf8(*t) : std::string();
}

} // namespace

std::string win32DateText(const LocalDateTime& when) {
    return text(when, [](const SYSTEMTIME* st, wchar_t* out, int size) {
        return GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, st, nullptr, out, size,
                               nullptr);
    });
}

std::string win32TimeText(const LocalDateTime& when) {
    return text(when, [](const SYSTEMTIME* st, wchar_t* out, int size) {
        return GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, st, nullptr, out, size);
    });
}

} // namespace zavo::platform

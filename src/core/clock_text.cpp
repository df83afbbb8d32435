#include "clock_text.h"

#include <array>
#include <chrono>

namespace zavo::core {

int weekday_of(int year, int month, int day) {
    using namespace std::chrono;
    const year_month_day ymd{std::chrono::year{year}, std::chrono::month{unsigned(month)},
                             std::chrono::day{unsigned(day)}};
    return static_cast<int>(weekday{sys_days{ymd}}.c_encoding()) + 1;
}

std::string day_name(int weekday) {
    static constexpr std::array<const char*, 7> names{"（日）", "（月）", "（火）", "（水）",
                                                      "（木）", "（金）", "（土）"};
    if (weekday < 1 || weekday > 7)
        return {};
    return names[static_cast<std::size_t>(weekday - 1)];
}

std::string clock_text(platform::Services& services) {
    // One reading for all three parts, so a tick that straddles midnight
    // cannot pair the new date with the old day's name.
    const platform::LocalDateTime now = services.now();
    return services.dateText(now) + " " + day_name(weekday_of(now.year, now.month, now.day)) + " " +
           services.timeText(now);
}

} // namespace zavo::core

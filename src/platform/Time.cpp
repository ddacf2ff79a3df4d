#include "platform/Time.h"

#include <ctime>

std::string TimeOfDay() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &now) != 0) return "00:00:00";
#else
    if (!localtime_r(&now, &local)) return "00:00:00";
#endif
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return text;
}

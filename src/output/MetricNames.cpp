#include "output/MetricNames.h"

std::string MetricName(const std::string& channel) {
    std::string name = "spacewarden_";
    for (char c : channel) name += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return name;
}

#pragma once

#include <string>

// The local time of day as hh:mm:ss (characters 12 to 19 of the 24-character
// date text "Www Mmm dd hh:mm:ss yyyy").
std::string TimeOfDay();

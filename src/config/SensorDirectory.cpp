#include "config/SensorDirectory.h"

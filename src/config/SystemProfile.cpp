#include "config/SystemProfile.h"

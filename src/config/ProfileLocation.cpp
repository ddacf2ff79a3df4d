#include "config/ProfileLocation.h"

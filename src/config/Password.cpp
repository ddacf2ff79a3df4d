#include "config/Password.h"

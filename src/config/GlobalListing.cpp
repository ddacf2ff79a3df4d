#include "config/GlobalListing.h"

#include "platform/ProcessContext.h"

ProcessContextRecord Process;

#include "run/Startup.h"

int main(int argc, char** argv) { return RunSensor(argc, argv); }

// A library that the lacking RFC library needs and that lies beside it, not
// beside the sensor: the sensor must find it there, as Windows finds the
// libraries a library needs in its own folder when it is loaded by its path.
#ifdef _WIN32
#define PART_EXPORT extern "C" __declspec(dllexport)
#else
#define PART_EXPORT extern "C" __attribute__((visibility("default")))
#endif

PART_EXPORT int RfcLackingPart() { return 0; }

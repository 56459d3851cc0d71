// A DLL of the tests' own, built beside the test exe: where a planted copy of
// a system DLL would lie, in the folder the exe was started from.
extern "C" __declspec(dllexport) int Planted() { return 1; }

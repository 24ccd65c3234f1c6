// A library with one export, loaded by the module tests.
extern "C" __attribute__((visibility("default"))) int TestModuleAnswer() { return 42; }

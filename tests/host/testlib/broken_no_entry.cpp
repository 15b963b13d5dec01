// A shared object without the dispatch entry.
extern "C" __attribute__((visibility("default"))) int NotTheEntry(void) { return 1; }

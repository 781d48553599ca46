// ThreadSanitizer and Qt's own worker threads. Qt Gui spreads large raster
// fills and image copies over its global thread pool and hands the work over
// with its own futex-based locks, which the sanitizer cannot see inside the
// uninstrumented Qt libraries; every hand-over then reads as a race inside
// Qt. The interceptors (allocation, memcpy) are therefore checked only when
// called from instrumented code: the program's own code, where every access
// stays fully checked, including its hand-overs to the GUI thread.
extern "C" const char* __tsan_default_options();

extern "C" const char* __tsan_default_options() { return "ignore_noninstrumented_modules=1"; }

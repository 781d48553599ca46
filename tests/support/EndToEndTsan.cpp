// ThreadSanitizer and Qt's own worker threads: Qt Gui spreads large raster
// fills and image copies over its global thread pool and hands the work
// over with futex-based locks inside the uninstrumented Qt libraries, which
// the sanitizer cannot see; each hand-over then reads as a race wholly
// inside Qt. The sanitizer's interceptors (allocation, memcpy) are therefore
// not applied to calls made from the Qt libraries. Everything the program's
// own code does stays checked, and so do the standard library's locks and
// threads, which the prober and the port-list watch use.
extern "C" const char* __tsan_default_suppressions();
extern "C" const char* __tsan_default_options();

extern "C" const char* __tsan_default_suppressions()
{
    return "called_from_lib:libQt6Core.so.6\n"
           "called_from_lib:libQt6Gui.so.6\n"
           "called_from_lib:libQt6Widgets.so.6\n"
           // Qt's event dispatcher and its worker threads allocate through GLib.
           "called_from_lib:libglib-2.0.so.0\n";
}

// The simulated units are started with QProcess while the test already runs
// several threads; the sanitizer's rule against starting threads after such
// a fork would end the test. The child only executes the simulator.
extern "C" const char* __tsan_default_options()
{
    return "die_after_fork=0";
}

// ThreadSanitizer and Qt's own worker threads: Qt Gui spreads large raster
// fills and image copies over its global thread pool and hands the work
// over with futex-based locks inside the uninstrumented Qt libraries, which
// the sanitizer cannot see; each hand-over then reads as a race wholly
// inside Qt. The sanitizer's interceptors (allocation, memcpy) are therefore
// not applied to calls made from the Qt libraries. Everything the program's
// own code does stays checked, and so do the standard library's locks and
// threads, which the prober and the port-list watch use.
#include <thread>

#include <unistd.h>

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

// Qt starts a child process with clone(CLONE_VM | CLONE_VFORK): until it
// executes the new program, the child runs in the parent's memory. The
// sanitizer's clone interceptor does its after-fork bookkeeping in that
// shared memory, and when the program has a single thread it sets the
// runtime up as for a fresh single-threaded child, over the parent's own
// state. From then on the locks the GUI thread takes go unrecorded, and
// every list change it makes under a lock reads as a race with the
// discovery threads that take the same lock. With a second thread alive the
// sanitizer takes its multi-threaded path instead, which keeps the GUI
// thread's locks recorded; so one thread stays parked for the whole
// program. It never touches the network, so it does not matter that it
// starts before the test's main moves into a namespace of its own.
#if defined(__SANITIZE_THREAD__)
namespace {

const bool kParkedThreadStarted = [] {
    std::thread([] {
        for (;;)
            ::pause();
    }).detach();
    return true;
}();

}  // namespace
#endif

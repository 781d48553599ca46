#pragma once
// The program's run from the application object to the end of the process:
// the title and look, the main window Form1, the message loop, and the end
// of this process when the window closes. The program's entry runs it with
// the real outside world; a test entry point hands in its own seams and arms
// its hooks once the window is shown.
#include "app/MainWindowSeams.h"

#include <functional>

namespace qireq {

class TForm1;

[[noreturn]] void RunProgram(int argc, char** argv, const MainWindowSeams& seams,
                             const std::function<void(TForm1&)>& shown = {});

}  // namespace qireq

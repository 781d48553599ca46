// The program as the tests and the screenshot script start it: the same run
// as the shipped program, but with no discovery at all, so nothing is sent to
// this machine's serial ports or network, and the machine's serial ports
// read as none.
//
//   qireq-test-window [--close-after-ms N]
//
// --close-after-ms N: the window closes itself N ms after it was shown,
// through the normal close path.
#include "app/MainWindowSeams.h"
#include "app/ProgramRun.h"
#include "app/Unit1.h"

#include <QTimer>

#include <cstring>
#include <string>

namespace {

int CloseAfterMs(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--close-after-ms") == 0)
            return std::stoi(argv[i + 1]);
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    const int closeAfterMs = CloseAfterMs(argc, argv);
    qireq::RunProgram(argc, argv, qireq::MainWindowSeams::Isolated(),
                      [closeAfterMs](qireq::TForm1& window) {
                          if (closeAfterMs >= 0)
                              QTimer::singleShot(closeAfterMs, &window, &QWidget::close);
                      });
}

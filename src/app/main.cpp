// Program entry: the main window with the real outside world (serial ports,
// the LAN, USB notifications); see ProgramRun.h.
#include "app/MainWindowSeams.h"
#include "app/ProgramRun.h"

int main(int argc, char** argv)
{
    qireq::RunProgram(argc, argv, qireq::MainWindowSeams());
}

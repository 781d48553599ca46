// Program entry: the application object with its title and look, the main
// window Form1, the message loop, and the end of this process when the
// window closes.
#include "app/Application.h"
#include "app/MainWindowSeams.h"
#include "app/Unit1.h"
#include "app/WindowStyle.h"
#include "controls/MessageBoxes.h"
#include "platform/ProcessEnd.h"
#include "state/ApplicationTitle.h"

#include <QFont>
#include <QStyleFactory>
#include <QTimer>

#include <exception>

namespace {

void SetUpLook(QApplication& app)
{
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    app.setPalette(qireq::MainWindowPalette());
    QFont font = app.font();
    font.setPixelSize(11);
    app.setFont(font);
}

// Hooks for the program's own tests and the screenshot script, which start
// the real program:
// - QIREQ_TEST_ISOLATED=1: no discovery at all, so nothing is sent to serial
//   ports or the network of the machine the tests run on;
// - QIREQ_TEST_CLOSE_AFTER_MS=n: the window closes itself n ms after it was
//   shown, through the normal close path.
qireq::MainWindowSeams OutsideWorld()
{
    qireq::MainWindowSeams seams;
    if (qEnvironmentVariableIntValue("QIREQ_TEST_ISOLATED") == 1) {
        seams.StartSerialDiscovery = false;
        seams.StartLanDiscovery = false;
    }
    return seams;
}

void ArmTestClose(qireq::TForm1& window)
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("QIREQ_TEST_CLOSE_AFTER_MS", &ok);
    if (ok && ms >= 0)
        QTimer::singleShot(ms, &window, &QWidget::close);
}

}  // namespace

int main(int argc, char** argv)
{
    qireq::TApplication app(argc, argv);
    QCoreApplication::setApplicationName(qireq::ApplicationTitle());
    SetUpLook(app);

    int exitCode = 0;
    try {
        qireq::TForm1 Form1(OutsideWorld());
        QObject::connect(&Form1, &qireq::TForm1::Closed, &app, [] { QCoreApplication::exit(0); });
        Form1.show();
        ArmTestClose(Form1);
        exitCode = app.exec();
        // The window and the worker threads are left as they are.
        qireq::EndThisProcessNow(exitCode);
    } catch (const std::exception& error) {
        qireq::MessageBoxes::Error(nullptr, QString::fromLocal8Bit(error.what()));
        exitCode = 1;
    }
    qireq::EndThisProcessNow(exitCode);
}

#include "app/ProgramRun.h"

#include "app/Application.h"
#include "app/Unit1.h"
#include "app/WindowStyle.h"
#include "controls/MessageBoxes.h"
#include "platform/ProcessEnd.h"
#include "state/ApplicationTitle.h"

#include <QFont>
#include <QStyleFactory>

#include <exception>

namespace qireq {

namespace {

void SetUpLook(QApplication& app)
{
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    app.setPalette(MainWindowPalette());
    QFont font = app.font();
    font.setPixelSize(11);
    app.setFont(font);
}

}  // namespace

void RunProgram(int argc, char** argv, const MainWindowSeams& seams,
                const std::function<void(TForm1&)>& shown)
{
    TApplication app(argc, argv);
    QCoreApplication::setApplicationName(ApplicationTitle());
    SetUpLook(app);

    int exitCode = 0;
    try {
        TForm1 Form1(seams);
        QObject::connect(&Form1, &TForm1::Closed, &app, [] { QCoreApplication::exit(0); });
        Form1.show();
        if (shown)
            shown(Form1);
        exitCode = app.exec();
        // The window and the worker threads are left as they are.
        EndThisProcessNow(exitCode);
    } catch (const std::exception& error) {
        MessageBoxes::Error(nullptr, QString::fromLocal8Bit(error.what()));
        exitCode = 1;
    }
    EndThisProcessNow(exitCode);
}

}  // namespace qireq

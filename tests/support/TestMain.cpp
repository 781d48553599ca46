// One Qt application object for the whole GoogleTest run. GUI test programs
// get a QApplication (on the offscreen platform set by CTest), the others a
// QCoreApplication, so timers, sockets and queued calls work in every test.
#include <gtest/gtest.h>

#ifdef QIREQ_TEST_GUI
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv)
{
#ifdef QIREQ_TEST_GUI
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    ::testing::InitGoogleTest(&argc, argv);
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}

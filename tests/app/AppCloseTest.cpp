// Closing the main window ends this process only: at once, with exit code 0,
// and without touching another running instance of the same program.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <memory>

namespace {

// The program's run with the tests' entry point, which starts no discovery:
// nothing goes to this machine's serial ports or network.
QString ProgramPath()
{
    return QStringLiteral(QIREQ_BINARY_DIR "/tests/app/qireq-test-window" QIREQ_EXE_SUFFIX);
}

// One child instance of the program on the offscreen platform; a child left
// running is ended by its own pid when the test is done.
std::unique_ptr<QProcess> StartInstance(int closeAfterMs)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList arguments;
    if (closeAfterMs >= 0)
        arguments << QStringLiteral("--close-after-ms") << QString::number(closeAfterMs);
    process->start(ProgramPath(), arguments);
    return process;
}

void EndIfRunning(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.kill();  // this child's pid only
    process.waitForFinished(5000);
}

TEST(AppCloseTest, ClosingEndsOnlyThisInstance)
{
    if (!QFileInfo(ProgramPath()).isExecutable())
        GTEST_SKIP() << "program not built: " << ProgramPath().toStdString();

    std::unique_ptr<QProcess> bystander = StartInstance(-1);
    ASSERT_TRUE(bystander->waitForStarted(5000));
    // Let the bystander get its window up before the other instance closes.
    EXPECT_FALSE(bystander->waitForFinished(1500)) << "the bystander runs until told otherwise";

    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QProcess> closing = StartInstance(200);
    ASSERT_TRUE(closing->waitForStarted(5000));
    ASSERT_TRUE(closing->waitForFinished(15000)) << "closing the window ends the process";
    const qint64 lifetimeMs = clock.elapsed();
    EXPECT_EQ(closing->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(closing->exitCode(), 0);
    RecordProperty("closing_instance_lifetime_ms", static_cast<int>(lifetimeMs));

    // The other instance of the same executable is still there.
    EXPECT_FALSE(bystander->waitForFinished(1000));
    EXPECT_EQ(bystander->state(), QProcess::Running);
    EndIfRunning(*bystander);
}

// The installed program has no test hooks: what tests need is in their own
// entry point, so no environment variable can turn the shipped program's
// discovery off or close its window.
TEST(AppCloseTest, ShippedProgramReadsNoTestHooks)
{
    QFile shipped(QStringLiteral(QIREQ_BINARY_DIR "/src/app/qireq" QIREQ_EXE_SUFFIX));
    if (!shipped.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "program not built";
    EXPECT_FALSE(shipped.readAll().contains("QIREQ_TEST_"));
}

}  // namespace

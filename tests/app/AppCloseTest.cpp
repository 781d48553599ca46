// Closing the main window ends this process only: at once, with exit code 0,
// and without touching another running instance of the same program.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <memory>

namespace {

QString ProgramPath() { return QStringLiteral(QIREQ_BINARY_DIR "/src/app/qireq" QIREQ_EXE_SUFFIX); }

// One child instance of the program on the offscreen platform; a child left
// running is ended by its own pid when the test is done.
std::unique_ptr<QProcess> StartInstance(int closeAfterMs)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Nothing goes to this machine's serial ports or network.
    env.insert(QStringLiteral("QIREQ_TEST_ISOLATED"), QStringLiteral("1"));
    if (closeAfterMs >= 0)
        env.insert(QStringLiteral("QIREQ_TEST_CLOSE_AFTER_MS"), QString::number(closeAfterMs));
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(ProgramPath(), {});
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

}  // namespace

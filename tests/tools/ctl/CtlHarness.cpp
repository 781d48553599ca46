#include "CtlHarness.h"

#include "support/Waiting.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QProcess>

#include <gtest/gtest.h>

namespace qireq::ctl::test {

using sim::test::SimProcess;

QJsonObject CtlRun::Json() const
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(Out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << qPrintable(error.errorString()) << "\n" << qPrintable(Out);
    EXPECT_TRUE(doc.isObject()) << qPrintable(Out);
    return doc.object();
}

QString CtlProgramPath()
{
    return QStringLiteral(QIREQ_BINARY_DIR "/tools/qireq-ctl/qireq-ctl");
}

CtlRun RunCtl(const QStringList& arguments, const QByteArray& input, int timeoutMs)
{
    CtlRun run;
    QProcess p;
    QElapsedTimer clock;
    clock.start();
    p.start(CtlProgramPath(), arguments);
    if (!p.waitForStarted(5000)) {
        ADD_FAILURE() << "cannot start qireq-ctl: " << qPrintable(p.errorString());
        return run;
    }
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    qireq::test::WaitFor([&] { return p.state() == QProcess::NotRunning; }, timeoutMs);
    run.Ms = clock.elapsed();
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished(3000);
        ADD_FAILURE() << "qireq-ctl did not end: " << qPrintable(arguments.join(' '));
    }
    run.Exit = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    run.Out = QString::fromUtf8(p.readAllStandardOutput());
    run.Err = QString::fromUtf8(p.readAllStandardError());
    return run;
}

QString HexLine(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

namespace {

std::unique_ptr<SimProcess> StartUnit(const QStringList& arguments, const QString& prefix, QString* where)
{
    auto sim = std::make_unique<SimProcess>();
    EXPECT_TRUE(sim->Start(arguments)) << qPrintable(sim->Error());
    *where = sim->WaitForLine(prefix);
    EXPECT_FALSE(where->isEmpty());
    return sim;
}

}  // namespace

std::unique_ptr<SimProcess> StartTcpUnit(QString* address, const QStringList& extra)
{
    return StartUnit(QStringList{"--tcp", "127.0.0.1:0"} + extra, "TCP ", address);
}

std::unique_ptr<SimProcess> StartPtyUnit(QString* path, const QStringList& extra)
{
    return StartUnit(QStringList{"--pty"} + extra, "PTY ", path);
}

QStringList FramesSince(SimProcess& sim, std::size_t from, int atLeast, int timeoutMs)
{
    QStringList frames;
    const auto collect = [&] {
        frames.clear();
        const auto& lines = sim.Lines();
        for (std::size_t i = from; i < lines.size(); ++i) {
            if (lines[i].startsWith("RX "))
                frames << lines[i].mid(3);
        }
        return frames.size() >= atLeast;
    };
    qireq::test::WaitFor(collect, timeoutMs);
    collect();
    return frames;
}

}  // namespace qireq::ctl::test

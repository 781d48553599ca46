#pragma once
// Running the built qireq-ctl against simulated units (tools/qireq-sim) for
// the end-to-end and namespace tests: the program, its output and exit
// status, and the frames each unit logged.
#include "support/SimProcess.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace qireq::ctl::test {

struct CtlRun {
    int Exit = -1;
    QString Out;
    QString Err;
    qint64 Ms = 0;
    QJsonObject Json() const;  // the output parsed as one JSON object (asserts it parses)
};

QString CtlProgramPath();
// Runs qireq-ctl with the arguments (and standard input) to its end; the
// event loop keeps running, so simulators' logs are collected meanwhile.
CtlRun RunCtl(const QStringList& arguments, const QByteArray& input = {}, int timeoutMs = 60000);

// "01 20 03 40 09 1F 01 05 60"
QString HexLine(const QByteArray& bytes);

// A simulated unit: TCP on loopback (its "127.0.0.1:PORT" in *address) or
// a pseudo-terminal (its path).
std::unique_ptr<sim::test::SimProcess> StartTcpUnit(QString* address, const QStringList& extra = {});
std::unique_ptr<sim::test::SimProcess> StartPtyUnit(QString* path, const QStringList& extra = {});

// The frames a unit received (RX lines, hex) from line index `from` on,
// after waiting up to timeoutMs for at least `atLeast` of them.
QStringList FramesSince(sim::test::SimProcess& sim, std::size_t from, int atLeast, int timeoutMs = 3000);

}  // namespace qireq::ctl::test

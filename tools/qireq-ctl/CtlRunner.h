#pragma once
// Runs qireq-ctl: one command from the command line, or one per line of a
// batch file (-f FILE, -f - for standard input). Picks the units, runs the
// command on all of them at once and prints the report in the chosen form.
// Exit status 0 only when every command succeeded on every unit; 2 when
// the command line could not be read (an unknown command, a value no unit
// takes), 1 for any other failure.
#include "CtlCommand.h"
#include "CtlDiscovery.h"
#include "CtlOutput.h"

#include <QJsonArray>
#include <QTextStream>

#include <optional>
#include <vector>

namespace qireq::ctl {

class CtlRunner {
public:
    CtlRunner(QTextStream& out, QTextStream& err) : out_(out), err_(err) {}

    // arguments without the program name.
    int Run(const QStringList& arguments);

    // One parsed command, not printed (the tests use it).
    CommandReport RunCommand(const CtlCommand& command);

private:
    int RunBatch(const CtlCommand& global);
    void Print(const CommandReport& report, OutputFormat format, const QString& batchLine = {});
    void Finish(OutputFormat format);
    // The units of the selection; unknown --unit values become failed rows.
    bool SelectUnits(const CtlCommand& c, std::vector<UnitTarget>& targets, CommandReport& report);
    const std::vector<FoundUnit>& Found(const CtlCommand& c);
    CommandReport RunDiscover(const CtlCommand& c);

    QTextStream& out_;
    QTextStream& err_;
    std::optional<std::vector<FoundUnit>> found_;  // discovery's answer, kept for a batch
    QStringList foundNotes_;                       // ports discovery could not probe
    QJsonArray jsonReports_;                       // -o json with -f: one array
    bool batch_ = false;
};

}  // namespace qireq::ctl

// qireq-ctl: find units, read and set their EQ, push presets, from scripts.
#include "CtlRunner.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qireq-ctl"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    qireq::ctl::CtlRunner runner(out, err);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return runner.Run(arguments);
}

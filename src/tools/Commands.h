#pragma once

#include <QStringList>
#include <QTextStream>

namespace kp::tools {

// Each subcommand takes its arguments (without "kxt" and the subcommand's name), writes its
// output and diagnostics to the given streams and returns the process exit status.
int runInfo(const QStringList& args, QTextStream& out, QTextStream& err);
int runBuild(const QStringList& args, QTextStream& out, QTextStream& err);
int runGrade(const QStringList& args, QTextStream& out, QTextStream& err);
int runReport(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace kp::tools

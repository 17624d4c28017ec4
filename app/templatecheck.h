#pragma once

// nuvela-render --check: finds the mistakes in templates, the text store and
// the language files that the program itself passes over in silence (it skips
// what it cannot draw), and names each by file and line.

#include "store/edition.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace nuvela {

/// One mistake: "file:line: message".
struct CheckProblem {
    QString file; ///< path as the user named the program folder
    int line = 1; ///< from 1; the line of the key, or of its section when the key is missing
    QString message;
};

struct CheckOutcome {
    QList<CheckProblem> problems; ///< sorted by file, then line
    QString error;                ///< non-empty when the check could not run at all
};

/// Checks the named templates (all of them when names is empty), the text
/// store and the language files of a program folder.
CheckOutcome checkProgramFolder(const QString& programDir, const QStringList& names, Edition edition);

/// The command line "--check [--program-dir DIR] [--edition main|sibling]
/// [TEMPLATE ...]": prints the problems to stdout and a summary to stderr.
/// Exit status 0 when clean, 1 when problems were found, 2 when it could not run.
int runTemplateCheck(const QStringList& args, const QString& defaultProgramDir, Edition edition);

} // namespace nuvela

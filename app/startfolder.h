#pragma once

#include <QString>
#include <QStringList>

namespace ruvo {

// Reads the command line (--help, --version, --folder DIR, --notes-folder) and returns the
// folder the program starts in, created if need be: DIR with --folder; the notes folder
// ($RUVO_HOME, else ~/Ruvo) with --notes-folder, as the desktop entry starts the program, so
// that a start from a menu never works in the bare home folder; else the current folder, the
// program's rule when started from a terminal. --help and --version print and end the process
// with 0; a bad option or a folder that cannot be made ends it with 1 and the reason.
QString StartFolderFromCommandLine(const QStringList &arguments);

// Answers --help and --version (and a bad option) before any window system is reached, so
// that both work in a terminal without a display; returns when the command line asks for
// neither.
void AnswerHelpOrVersion(int argc, char **argv);

// $RUVO_HOME, else ~/Ruvo.
QString NotesFolder();

} // namespace ruvo

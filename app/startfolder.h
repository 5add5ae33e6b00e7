// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "notes/notesexport.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace ruvo {

// What the command line asks for.
struct CommandLine
{
    QString folder;                     // the start folder, absolute
    std::optional<QString> exportFile;  // --export FILE
    NotesAs notesAs = NotesAs::Journal; // --notes-as journal|events
    bool reminders = false;             // --reminders
    bool today = false;                 // --today
    bool sync = false;                  // --sync
};

// Reads the command line (--help, --version, --folder DIR, --notes-folder, --export FILE,
// --notes-as journal|events, --reminders, --today, --sync). The
// start folder, created if need be, is DIR with --folder; the notes folder ($RUVO_HOME, else
// ~/Ruvo) with --notes-folder, as the desktop entry starts the program, so that a start from a
// menu never works in the bare home folder; else the current folder, the program's rule when
// started from a terminal. --help and --version print and end the process with 0; a bad option,
// a missing value or an argument that is no option ends it with 1, the mistake and the usage on
// standard error; a folder that cannot be made ends it with 1 and the reason, also in a box
// where there is a window system. With --export the folder is never made: one that does not
// exist ends the process with 1.
CommandLine ReadCommandLine(const QStringList &arguments);

// The start folder of ReadCommandLine.
QString StartFolderFromCommandLine(const QStringList &arguments);

// Answers --help, --version, a command line that is not understood and --export before any
// window system is reached, so that they work in a terminal without a display: the process's
// exit code when it answered, none when the command line asks for the window. --reminders
// runs the reminders agent in this process's place and never returns.
std::optional<int> AnswerWithoutWindow(int argc, char **argv);

// $RUVO_HOME, else ~/Ruvo.
QString NotesFolder();

} // namespace ruvo

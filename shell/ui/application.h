#pragma once
// The desktop program's start-up and shut-down, in the designed order: the profile, the first
// run and logon flags, the logon against "UserInfo.dat" (userFilePath()), then the main window
// shown maximised; closing it writes back the sign record and the profile values.
//
// An installed program (one with a data folder under <prefix>/share/brightline) works in the user
// data folder: each start first copies into it what it lacks of the user file, the sign list and
// the resource libraries from the data folder, and makes it the current directory (the start
// folder). Nothing is written under /usr.
//
// Arguments that are not options are files opened after the main window is shown (a double click
// on a program, schedule, clock page or text page file); one that does not exist is named in a
// warning instead. --quit-when-ready prints "ready after N ms" once the main window has been shown
// and painted, and exits (the start-up benchmark uses it).
namespace brightline::ui {

// Runs the program; the process's exit status.
int runBrightline(int argc, char** argv);

}  // namespace brightline::ui

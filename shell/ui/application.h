#pragma once
// The desktop program's start-up and shut-down, in the designed order: the profile, the first
// run and logon flags, the logon against "UserInfo.dat" beside the executable, then the main
// window shown maximised; closing it writes back the sign record and the profile values.
//
// Options: --quit-when-ready prints "ready after N ms" once the main window has been shown and
// painted, and exits (the start-up benchmark uses it).
namespace brightline::ui {

// Runs the program; the process's exit status.
int runBrightline(int argc, char** argv);

}  // namespace brightline::ui

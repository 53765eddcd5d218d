#pragma once
// The text page editor as a program: the application, the one window on the path its arguments
// name (see textPagePathFromArguments), and the event loop until the window closes.
namespace brightline::ui {

// Returns the process's exit status.
int runPagewright(int argc, char** argv);

}  // namespace brightline::ui

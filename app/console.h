// What ftvb-convert needs from the system beyond the engine: its arguments,
// its messages and being told to stop. One implementation per platform
// (console_posix.cpp, console_win32.cpp).
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace ftvb::console {

// Before anything else: the process set up to report, not die, where the
// system would otherwise end it (a file-size limit on POSIX, a missing
// drive's dialog on Windows).
void prepare();

// The command-line arguments after the program's name, as UTF-8.
std::vector<std::string> arguments(int argc, char** argv);

// The files a FILE argument names. Windows shells hand wildcards over as
// they are: there "*.for" becomes the matching files, sorted by name; a
// pattern that matches nothing stays as it is, to be reported. Elsewhere
// the shell has done this already, and a name is just itself.
std::vector<std::string> filesNamed(const std::string& argument);
// Whether a name that could not be read is a pattern that matched nothing,
// as filesNamed leaves it (never so where the shell expands patterns).
bool isUnmatchedPattern(const std::string& name);

// From now on Ctrl-C and the system's other requests to end (SIGTERM and
// SIGHUP; Ctrl-Break, closing the console, logging off) set interrupted()
// instead of ending the program, and wake a read or write that waits.
void catchInterrupts();
bool interrupted();

// Whether standard error shows on a terminal, where the count goes live.
bool errorIsTerminal();
// Whether standard error is a Windows console, which is written as text
// (UTF-16) and never through the engine's file side.
bool errorIsConsole();

// Writes the pieces, one after the other (UTF-8, lines ended by "\n"), to
// standard error as what is there expects them. Allocates nothing: it also
// says that memory ran out.
void printError(std::initializer_list<std::string_view> pieces);

// Takes the live count off the terminal's line.
void eraseLine();

// Writes `text` to standard output; empty, or the system's reason why it
// could not be written.
std::string printOut(const std::string& text);

}  // namespace ftvb::console

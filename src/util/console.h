// The command line of the program and its standard streams, whatever the platform does
// with text (platform_console.cpp).
#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace plandown {

// The program's arguments (without the program name) as UTF-8. On Windows they come from
// the UTF-16 command line: argv holds them in the ANSI code page, which loses every
// character outside it.
std::vector<std::string> CommandLineWords(int argc, char** argv);

// Standard output and error for UTF-8 text. On a Windows console the text is shown
// through the console's UTF-16 interface, so Japanese shows whatever the console code
// page; redirected to a file or pipe, and on other platforms, the UTF-8 bytes go out as
// they are.
std::ostream& StandardOutput();
std::ostream& StandardError();

}  // namespace plandown

// The command line of the program and its standard streams, whatever the platform does
// with text (platform_console.cpp).
#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace plandown {

// The program's arguments (without the program name) as UTF-8. On Windows they come from
// the UTF-16 command line: argv holds them in the ANSI code page, which loses every
// character outside it; there "/?", the Windows way of asking for help, becomes "--help".
std::vector<std::string> CommandLineWords(int argc, char** argv);

// True where the command line is split by the Windows rules, under which a quote ends
// up inside a word only when a backslash escaped it ("D:\out\" gives D:\out"), since no
// file name there can hold one. Elsewhere a quote is an ordinary file name character.
bool QuotesCannotBeInWords();

// Standard output and error for UTF-8 text. On a Windows console the text is shown
// through the console's UTF-16 interface, so Japanese shows whatever the console code
// page. Redirected to a file or pipe on Windows, the text is written in the console's
// output code page (the ANSI code page without a console) with CR LF line ends, as the
// Windows tools that read it expect; with the environment variable PLANDOWN_UTF8=1 it
// stays UTF-8 with LF. On other platforms the UTF-8 bytes go out as they are.
std::ostream& StandardOutput();
std::ostream& StandardError();

// Standard output keeps UTF-8 and its line ends when redirected: for JSON documents.
void KeepStandardOutputUtf8();

}  // namespace plandown

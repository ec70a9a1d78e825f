#pragma once
// What a program knows of its own process: the folder it runs from, its command line as UTF-8
// text, and standard streams that pass bytes unchanged. The platform's part is in
// process.cpp and process_win32.cpp.
#include <filesystem>
#include <string>
#include <vector>

namespace lx {

// The folder of the running executable (symbolic links resolved); argv0 is the fallback.
std::filesystem::path ProgramDirectory(const char* argv0);

// The arguments after the program's name, as UTF-8. On Windows they are read as typed, in
// UTF-16 (argv holds them in the ANSI code page); elsewhere they are argv as given.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// On Windows: the console shows the UTF-8 we print, and standard input and output pass bytes
// unchanged (text mode would turn each CRLF into CR CR LF). Elsewhere nothing needs doing.
void UseBinaryStandardStreams();

}  // namespace lx

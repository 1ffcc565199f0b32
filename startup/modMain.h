#pragma once

#include <string>
#include <vector>

#include "startup/Dictionary.h"

namespace gui {

// Runs the program for one command line (the arguments as one text); returns the exit code.
int Main(const std::string& commandLine);

// The arguments of a POSIX start as one command line, quoted so that ParseParameters reads
// every argument back as it was given.
std::string CommandLineFromArguments(const std::vector<std::string>& arguments);
// key=value pairs, quoted values with "" for a quote, keys compared exactly; a repeated key
// raises the dictionary's duplicate-key error.
DictionaryPtr ParseParameters(const std::string& text);
// \\ \t, \r (line feed) and \n (carriage return) as the port monitor writes them.
std::string UnescapeMessage(const std::string& text);
// The bracketed part of a printer name, made a valid file name; "" without one.
std::string GetInstanceName(const std::string& printerName);
// Removes the session's own temporary files (none of another session's, whatever the ids) and
// every temporary file older than two days; after an error the log stays, and an undelivered
// PDF always does.
void CleanUpTempFiles(bool errorOccurred);

}  // namespace gui

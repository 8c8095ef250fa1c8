#pragma once

#include <string>
#include <vector>

/// The whole of brackwen.log in the working directory (empty when there is none). Flushes the
/// log manager's stream first.
std::string readLogText();

/// The messages of brackwen.log, one per line, with the time stamp and " - " cut off.
std::vector<std::string> readLogLines();

/// How many log messages equal message exactly.
int countLogLines(const std::string& message);

/// True when some log message begins with prefix.
bool logHasLineStartingWith(const std::string& prefix);

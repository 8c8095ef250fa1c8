#pragma once

#include <string>
#include <vector>

/// The whole of brackwen.log in the working directory (empty when there is none). Flushes the
/// log manager's stream first.
std::string readLogText();

/// The messages of log lines in text (brackwen.log, or the log echoed to a stream), one per line,
/// with the time stamp and " - " cut off.
std::vector<std::string> logMessages(const std::string& text);

/// The messages of brackwen.log.
std::vector<std::string> readLogLines();

/// How many log messages equal message exactly.
int countLogLines(const std::string& message);

/// True when some log message begins with prefix.
bool logHasLineStartingWith(const std::string& prefix);

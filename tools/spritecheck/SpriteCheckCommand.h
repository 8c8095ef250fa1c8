#pragma once

#include <ostream>
#include <string>
#include <vector>

class SpriteLogCapture;

/// The spritecheck command: loads each sprite file named on the command line with the engine's
/// own loader, passes the loader's log lines on to the error stream (prefixed with the file
/// name) and prints every loaded sprite with its frames to the output stream.
///
///     spritecheck [--plain] [--strict] FILE...
class SpriteCheckCommand {
public:
    /// Exit status when every file loaded without errors.
    static constexpr int EXIT_GOOD = 0;
    /// Exit status when some file has errors (or warnings, with --strict).
    static constexpr int EXIT_BAD_FILE = 1;
    /// Exit status for a command line that cannot be used (no files, unknown option).
    static constexpr int EXIT_USAGE = 2;

    /// Reports go to out, log lines and usage errors to err.
    SpriteCheckCommand(std::ostream& out, std::ostream& err);

    /// Runs with the arguments that follow the program name and returns the exit status.
    int run(const std::vector<std::string>& args);

private:
    /// What checking one file found.
    struct FileResult {
        bool loaded = false;
        int errors = 0;
        int warnings = 0;
    };

    FileResult checkFile(const std::string& path, SpriteLogCapture& log);
    void printUsage(std::ostream& to) const;

    std::ostream& out;
    std::ostream& err;
    bool plain = false;
    bool strict = false;
};

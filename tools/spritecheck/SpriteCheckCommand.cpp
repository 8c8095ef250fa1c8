#include "SpriteCheckCommand.h"

#include "ResourceManager.h"
#include "Sprite.h"
#include "SpriteLogCapture.h"
#include "SpritePrinter.h"

namespace {

bool beginsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

} // namespace

SpriteCheckCommand::SpriteCheckCommand(std::ostream& out, std::ostream& err) : out(out), err(err) {}

void SpriteCheckCommand::printUsage(std::ostream& to) const {
    to << "usage: spritecheck [--plain] [--strict] FILE...\n"
          "  Loads each sprite file with the engine's loader, reports its errors and warnings on\n"
          "  standard error and prints every frame with its index, slowdown and colour.\n"
          "  --plain   print without colours\n"
          "  --strict  count warnings as errors\n"
          "  exit status: 0 all files good, 1 some file has errors, 2 bad command line\n";
}

int SpriteCheckCommand::run(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    bool options_done = false;
    for (const std::string& arg : args) {
        if (options_done || arg.empty() || arg[0] != '-' || arg == "-") {
            files.push_back(arg);
        } else if (arg == "--") {
            options_done = true;
        } else if (arg == "--plain") {
            plain = true;
        } else if (arg == "--strict") {
            strict = true;
        } else if (arg == "--help" || arg == "-h") {
            printUsage(out);
            return EXIT_GOOD;
        } else {
            err << "spritecheck: unknown option " << arg << "\n";
            printUsage(err);
            return EXIT_USAGE;
        }
    }
    if (files.empty()) {
        err << "spritecheck: no sprite files given\n";
        printUsage(err);
        return EXIT_USAGE;
    }

    SpriteLogCapture log;
    if (!log.isReady()) {
        err << "spritecheck: cannot open a log file in the temporary folder\n";
        return EXIT_USAGE;
    }

    int bad_files = 0;
    int warnings = 0;
    for (const std::string& file : files) {
        const FileResult result = checkFile(file, log);
        warnings += result.warnings;
        if (!result.loaded || result.errors > 0 || (strict && result.warnings > 0)) ++bad_files;
    }
    out << files.size() << (files.size() == 1 ? " file" : " files") << " checked, " << bad_files
        << " with errors, " << warnings << (warnings == 1 ? " warning" : " warnings") << "\n";
    return bad_files > 0 ? EXIT_BAD_FILE : EXIT_GOOD;
}

SpriteCheckCommand::FileResult SpriteCheckCommand::checkFile(const std::string& path, SpriteLogCapture& log) {
    FileResult result;
    auto& resources = bw::ResourceManager::getInstance();
    // The path doubles as the label; the sprite is unloaded again right after printing, so a
    // file named twice is checked twice.
    result.loaded = resources.loadSprite(path, path) == 0;

    for (const std::string& message : log.takeNewMessages()) {
        if (beginsWith(message, "ERROR:")) ++result.errors;
        if (beginsWith(message, "WARNING:")) ++result.warnings;
        err << path << ": " << message << "\n";
    }

    out << path << ": ";
    const bw::Sprite* sprite = result.loaded ? resources.getSprite(path) : nullptr;
    if (sprite == nullptr) {
        out << "not loaded\n";
        result.loaded = false;
        return result;
    }
    if (result.errors > 0 || result.warnings > 0)
        out << "loaded with " << result.errors << " errors, " << result.warnings << " warnings\n";
    else
        out << "good\n";
    out << SpritePrinter(!plain).print(*sprite);
    resources.unloadSprite(path);
    log.takeNewMessages();
    return result;
}

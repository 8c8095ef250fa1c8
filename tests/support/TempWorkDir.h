#pragma once

#include <filesystem>

/// Makes a fresh temporary directory the working directory for the object's lifetime, so that
/// brackwen.log and other files a test writes land there. The old directory comes back after.
class TempWorkDir {
public:
    TempWorkDir();
    ~TempWorkDir();
    TempWorkDir(const TempWorkDir&) = delete;
    TempWorkDir& operator=(const TempWorkDir&) = delete;

    const std::filesystem::path& path() const { return dir; }

private:
    std::filesystem::path previous;
    std::filesystem::path dir;
};

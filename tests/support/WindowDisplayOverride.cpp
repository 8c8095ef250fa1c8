#include "WindowDisplayOverride.h"

#include <cstdlib>

namespace {

void setDisplayVariable(const std::optional<std::string>& value) {
#ifdef _WIN32
    _putenv_s("DISPLAY", value ? value->c_str() : "");
#else
    if (value && !value->empty()) setenv("DISPLAY", value->c_str(), 1);
    else unsetenv("DISPLAY");
#endif
}

} // namespace

WindowDisplayOverride::WindowDisplayOverride(const std::string& value) {
    if (const char* current = std::getenv("DISPLAY")) previous = current;
    setDisplayVariable(value);
}

WindowDisplayOverride::~WindowDisplayOverride() {
    setDisplayVariable(previous);
}

#pragma once
// A texture name split the way the material code needs it. Only the backslash
// separates directories (the names come from Windows data files); a slash is an
// ordinary character.

#include <optional>
#include <string>

class FileName {
public:
    // A null name leaves every part absent.
    explicit FileName(const char* name);

    std::optional<std::string> path;       // the whole name, lower case
    std::optional<std::string> baseName;   // after the last backslash, else the whole path
    std::optional<std::string> directory;  // before the last backslash; absent without one
    std::optional<std::string> extension;  // after the last dot, wherever it stands; absent without one
};

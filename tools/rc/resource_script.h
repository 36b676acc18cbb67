#pragma once
// Reads the dialogs of a Windows resource script: the subset the program's
// script uses (DIALOG and DIALOGEX with STYLE, EXSTYLE, CAPTION and FONT; the
// controls GROUPBOX, COMBOBOX, PUSHBUTTON, DEFPUSHBUTTON, CHECKBOX,
// AUTOCHECKBOX, LTEXT, CTEXT and RTEXT; LANGUAGE; #define and #include "file"
// for ids).

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/dialog_resources.h"

namespace resource_script {

// what() reads "file:line: problem".
class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Gives the text of a file the script includes with #include "name", or
// throws ScriptError when it cannot be read.
using IncludeReader = std::function<std::string(const std::filesystem::path& name)>;

std::vector<platform::DialogResource> parse(const std::string& text, const std::filesystem::path& fileName,
                                            const IncludeReader& readInclude);

// Reads the script and its includes from disk (includes beside the script).
std::vector<platform::DialogResource> parseFile(const std::filesystem::path& path);

}  // namespace resource_script

#pragma once
// The tokens of a resource script after its preprocessor lines are applied:
// #include "file" is read in place, #include <file> (the system's headers, which
// only define what the style table below already knows) is skipped, #define
// records a name, #pragma is ignored; anything else starting with # is refused.

#include <map>
#include <string>
#include <vector>

#include "tools/rc/resource_script.h"

namespace resource_script {

struct Token {
    enum class Kind { name, number, text, comma, bar, open, close, end };
    Kind kind;
    std::string value;  // the name, the number's digits, or the text without quotes
    std::string where;  // "file:line"
};

struct TokenStream {
    std::vector<Token> tokens;                  // closed by one Kind::end token
    std::map<std::string, std::string> macros;  // #define name -> its replacement text
};

TokenStream tokenize(const std::string& text, const std::filesystem::path& fileName, const IncludeReader& readInclude);

}  // namespace resource_script

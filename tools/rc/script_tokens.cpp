#include "tools/rc/script_tokens.h"

#include <cctype>
#include <sstream>

namespace resource_script {

namespace {

[[noreturn]] void fail(const std::string& where, const std::string& problem) {
    throw ScriptError(where + ": " + problem);
}

class Tokenizer {
public:
    Tokenizer(TokenStream& out, const IncludeReader& readInclude, int depth)
        : out(out), readInclude(readInclude), depth(depth) {}

    void file(const std::string& text, const std::filesystem::path& fileName) {
        std::istringstream lines(text);
        std::string line;
        bool inComment = false;
        for (int number = 1; std::getline(lines, line); ++number) {
            const std::string where = fileName.filename().string() + ":" + std::to_string(number);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            size_t first = line.find_first_not_of(" \t");
            if (!inComment && first != std::string::npos && line[first] == '#')
                directive(line.substr(first + 1), where);
            else
                tokens(line, where, inComment);
        }
        if (inComment) fail(fileName.filename().string(), "comment not closed at the end of the file");
    }

private:
    void directive(const std::string& rest, const std::string& where) {
        std::istringstream words(rest);
        std::string keyword;
        words >> keyword;
        if (keyword == "pragma") return;
        if (keyword == "define") return define(words, where);
        if (keyword == "include") return include(words, where);
        fail(where, "unsupported preprocessor line #" + keyword);
    }

    void define(std::istringstream& words, const std::string& where) {
        std::string name, value;
        words >> name;
        std::getline(words, value);
        size_t comment = value.find("//");
        if (comment != std::string::npos) value.erase(comment);
        value.erase(0, value.find_first_not_of(" \t"));
        value.erase(value.find_last_not_of(" \t") + 1);
        if (name.empty() || (!std::isalpha(static_cast<unsigned char>(name[0])) && name[0] != '_'))
            fail(where, "#define needs a name");
        out.macros[name] = value;
    }

    void include(std::istringstream& words, const std::string& where) {
        std::string target;
        words >> target;
        if (target.size() > 2 && target.front() == '<' && target.back() == '>') return;
        if (target.size() < 3 || target.front() != '"' || target.back() != '"')
            fail(where, "#include needs a \"file\" or <file>");
        if (depth >= 8) fail(where, "#include nested too deeply");
        std::filesystem::path name = target.substr(1, target.size() - 2);
        Tokenizer(out, readInclude, depth + 1).file(readInclude(name), name);
    }

    void tokens(const std::string& line, const std::string& where, bool& inComment) {
        for (size_t at = 0; at < line.size();) {
            if (inComment) {
                size_t close = line.find("*/", at);
                if (close == std::string::npos) return;
                inComment = false;
                at = close + 2;
                continue;
            }
            at = token(line, at, where, inComment);
        }
    }

    // Reads one token (or blank, or comment opening) at `at`; returns where the next begins.
    size_t token(const std::string& line, size_t at, const std::string& where, bool& inComment) {
        const char c = line[at];
        if (c == ' ' || c == '\t') return at + 1;
        if (line.compare(at, 2, "//") == 0) return line.size();
        if (line.compare(at, 2, "/*") == 0) {
            inComment = true;
            return at + 2;
        }
        if (c == ',') return push(Token::Kind::comma, ",", where, at + 1);
        if (c == '|') return push(Token::Kind::bar, "|", where, at + 1);
        if (c == '(') return push(Token::Kind::open, "(", where, at + 1);
        if (c == ')') return push(Token::Kind::close, ")", where, at + 1);
        if (c == '"') return text(line, at, where);
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-') {
            size_t end = at + 1;
            while (end < line.size() && (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '_')) ++end;
            const std::string word = line.substr(at, end - at);
            bool numeric = std::isdigit(static_cast<unsigned char>(c)) || c == '-';
            return push(numeric ? Token::Kind::number : Token::Kind::name, word, where, end);
        }
        fail(where, std::string("unexpected character '") + c + "'");
    }

    // A doubled quote inside the text stands for one quote; backslashes are kept
    // as written, except \" , \\ and \t.
    size_t text(const std::string& line, size_t at, const std::string& where) {
        std::string value;
        for (size_t i = at + 1; i < line.size(); ++i) {
            char c = line[i];
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                value += '"';
                ++i;
            } else if (c == '"') {
                return push(Token::Kind::text, value, where, i + 1);
            } else if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) {
                value += line[++i];
            } else if (c == '\\' && i + 1 < line.size() && line[i + 1] == 't') {
                value += '\t';
                ++i;
            } else {
                value += c;
            }
        }
        fail(where, "text not closed on its line");
    }

    size_t push(Token::Kind kind, std::string value, const std::string& where, size_t next) {
        out.tokens.push_back({kind, std::move(value), where});
        return next;
    }

    TokenStream& out;
    const IncludeReader& readInclude;
    int depth;
};

}  // namespace

TokenStream tokenize(const std::string& text, const std::filesystem::path& fileName, const IncludeReader& readInclude) {
    TokenStream stream;
    Tokenizer(stream, readInclude, 0).file(text, fileName);
    std::string end = fileName.filename().string() + ": end of file";
    stream.tokens.push_back({Token::Kind::end, "", end});
    return stream;
}

}  // namespace resource_script

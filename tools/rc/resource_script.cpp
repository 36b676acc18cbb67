#include "tools/rc/resource_script.h"

#include <charconv>
#include <fstream>
#include <set>
#include <sstream>
#include <unordered_map>

#include "tools/rc/script_tokens.h"

namespace resource_script {

namespace {

using Kind = Token::Kind;

// The system constants a script may name, with their values.
const std::unordered_map<std::string, long>& knownConstants() {
    static const std::unordered_map<std::string, long> constants = {
        {"WS_POPUP", WS_POPUP},         {"WS_CHILD", WS_CHILD},
        {"WS_VISIBLE", WS_VISIBLE},     {"WS_CAPTION", WS_CAPTION},
        {"WS_SYSMENU", WS_SYSMENU},     {"WS_BORDER", WS_BORDER},
        {"WS_DISABLED", WS_DISABLED},   {"WS_TABSTOP", WS_TABSTOP},
        {"WS_GROUP", WS_GROUP},         {"WS_VSCROLL", WS_VSCROLL},
        {"DS_MODALFRAME", DS_MODALFRAME}, {"DS_CENTER", DS_CENTER},
        {"DS_SETFONT", DS_SETFONT},     {"DS_3DLOOK", DS_3DLOOK},
        {"BS_PUSHBUTTON", BS_PUSHBUTTON}, {"BS_DEFPUSHBUTTON", BS_DEFPUSHBUTTON},
        {"BS_CHECKBOX", BS_CHECKBOX},   {"BS_AUTOCHECKBOX", BS_AUTOCHECKBOX},
        {"BS_GROUPBOX", BS_GROUPBOX},   {"SS_LEFT", SS_LEFT},
        {"SS_CENTER", SS_CENTER},       {"SS_RIGHT", SS_RIGHT},
        {"CBS_SIMPLE", CBS_SIMPLE},     {"CBS_DROPDOWN", CBS_DROPDOWN},
        {"CBS_DROPDOWNLIST", CBS_DROPDOWNLIST}, {"CBS_SORT", CBS_SORT},
        {"IDOK", IDOK},                 {"IDCANCEL", IDCANCEL},
    };
    return constants;
}

// Memory options that old scripts write after DIALOG; they mean nothing here.
const std::set<std::string> memoryOptions = {"DISCARDABLE", "MOVEABLE", "FIXED", "PURE", "IMPURE", "PRELOAD",
                                             "LOADONCALL"};

struct ControlKind {
    const char* className;
    DWORD style;  // before the script's own style is added
    bool hasText;
};

const std::unordered_map<std::string, ControlKind>& controlKinds() {
    static const std::unordered_map<std::string, ControlKind> kinds = {
        {"GROUPBOX", {"BUTTON", BS_GROUPBOX, true}},
        {"PUSHBUTTON", {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, true}},
        {"DEFPUSHBUTTON", {"BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP, true}},
        {"CHECKBOX", {"BUTTON", BS_CHECKBOX | WS_TABSTOP, true}},
        {"AUTOCHECKBOX", {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, true}},
        {"LTEXT", {"STATIC", SS_LEFT | WS_GROUP, true}},
        {"CTEXT", {"STATIC", SS_CENTER | WS_GROUP, true}},
        {"RTEXT", {"STATIC", SS_RIGHT | WS_GROUP, true}},
        {"COMBOBOX", {"COMBOBOX", CBS_SIMPLE | WS_TABSTOP, false}},
    };
    return kinds;
}

class Parser {
public:
    explicit Parser(TokenStream stream) : stream(std::move(stream)) {}

    std::vector<platform::DialogResource> script() {
        std::vector<platform::DialogResource> dialogs;
        std::set<long> ids;
        while (peek().kind != Kind::end) {
            const std::string where = peek().where;
            if (peek().kind == Kind::name && peek().value == "LANGUAGE") {
                next(), value(), comma(), value();  // one language only: the statement changes nothing
                continue;
            }
            dialogs.push_back(dialog());
            if (!ids.insert(dialogs.back().id).second)
                fail(where, "dialog " + std::to_string(dialogs.back().id) + " is defined twice");
        }
        return dialogs;
    }

private:
    platform::DialogResource dialog() {
        platform::DialogResource result{};
        result.id = static_cast<WORD>(inRange(value(), 1, 0xFFFF, "a dialog's number"));
        const Token& keyword = take(Kind::name, "DIALOG or DIALOGEX");
        if (keyword.value != "DIALOG" && keyword.value != "DIALOGEX") fail(keyword.where, "expected DIALOG or DIALOGEX");
        while (peek().kind == Kind::name && memoryOptions.contains(peek().value)) next();
        result.x = coordinate(), comma(), result.y = coordinate(), comma();
        result.width = coordinate(), comma(), result.height = coordinate();
        result.style = WS_POPUP | WS_BORDER | WS_SYSMENU;
        bool styled = false;
        while (!opensBlock(peek())) dialogOption(result, styled);
        next();
        while (!closesBlock(peek())) result.items.push_back(control());
        next();
        if (!result.fontName.empty()) result.style |= DS_SETFONT;
        return result;
    }

    void dialogOption(platform::DialogResource& result, bool& styled) {
        const Token& option = take(Kind::name, "a dialog option or BEGIN");
        if (option.value == "STYLE") {
            result.style = static_cast<DWORD>(value());
            styled = true;
        } else if (option.value == "EXSTYLE") {
            value();
        } else if (option.value == "CAPTION") {
            result.caption = take(Kind::text, "the caption's text").value;
            if (!styled) result.style |= WS_CAPTION;
        } else if (option.value == "FONT") {
            result.fontSize = static_cast<WORD>(inRange(value(), 1, 72, "a font size"));
            comma();
            result.fontName = take(Kind::text, "the font's name").value;
            while (peek().kind == Kind::comma) next(), value();  // DIALOGEX weight, italic, charset
        } else {
            fail(option.where, "unknown dialog option " + option.value);
        }
    }

    platform::DialogItemResource control() {
        const Token& keyword = take(Kind::name, "a control or END");
        auto kind = controlKinds().find(keyword.value);
        if (kind == controlKinds().end()) fail(keyword.where, "unknown control " + keyword.value);
        platform::DialogItemResource item{};
        item.className = kind->second.className;
        if (kind->second.hasText) item.text = take(Kind::text, "the control's text").value, comma();
        item.id = static_cast<int>(inRange(value(), -1, 0xFFFF, "a control id"));
        comma(), item.x = coordinate(), comma(), item.y = coordinate();
        comma(), item.width = coordinate(), comma(), item.height = coordinate();
        item.style = WS_CHILD | WS_VISIBLE | kind->second.style;
        if (peek().kind == Kind::comma) next(), item.style |= static_cast<DWORD>(value());
        if (peek().kind == Kind::comma) next(), value();  // extended style
        return item;
    }

    // A number, a name or a value in parentheses, or several joined by |.
    long value() {
        long result = term();
        while (peek().kind == Kind::bar) next(), result |= term();
        return result;
    }

    long term() {
        const Token& token = next();
        if (token.kind == Kind::number) return number(token);
        if (token.kind == Kind::open) {
            long inner = value();
            take(Kind::close, "')'");
            return inner;
        }
        if (token.kind != Kind::name) fail(token.where, "expected a number or a name");
        if (auto macro = stream.macros.find(token.value); macro != stream.macros.end())
            return macroValue(token, macro->second);
        if (auto known = knownConstants().find(token.value); known != knownConstants().end()) return known->second;
        fail(token.where, "unknown name " + token.value);
    }

    long macroValue(const Token& use, const std::string& replacement) {
        if (replacement.empty()) fail(use.where, "#define of " + use.value + " has no value");
        if (++expansions > 64) fail(use.where, "#define of " + use.value + " refers to itself");
        TokenStream inner = tokenize(replacement, use.where, [](const std::filesystem::path&) { return std::string(); });
        inner.macros = stream.macros;
        for (Token& token : inner.tokens) token.where = use.where;
        Parser expansion(std::move(inner));
        expansion.expansions = expansions;
        long result = expansion.value();
        if (expansion.peek().kind != Kind::end) fail(use.where, "#define of " + use.value + " is not a number");
        --expansions;
        return result;
    }

    static long number(const Token& token) {
        const std::string& digits = token.value;
        bool negative = digits[0] == '-';
        size_t start = negative ? 1 : 0;
        int base = 10;
        if (digits.compare(start, 2, "0x") == 0 || digits.compare(start, 2, "0X") == 0) base = 16, start += 2;
        long result = 0;
        const char* last = digits.data() + digits.size();
        if (digits.size() > 1 && (digits.back() == 'L' || digits.back() == 'l')) --last;
        auto [end, error] = std::from_chars(digits.data() + start, last, result, base);
        if (start == digits.size() || error != std::errc() || end != last)
            fail(token.where, "malformed number " + digits);
        return negative ? -result : result;
    }

    short coordinate() { return static_cast<short>(inRange(value(), -32768, 32767, "a position or size")); }

    long inRange(long number, long low, long high, const char* what) {
        if (number < low || number > high)
            fail(previous().where, std::to_string(number) + " is out of range for " + what);
        return number;
    }

    static bool opensBlock(const Token& token) {
        return token.kind == Kind::name && token.value == "BEGIN";
    }
    static bool closesBlock(const Token& token) { return token.kind == Kind::name && token.value == "END"; }

    void comma() { take(Kind::comma, "','"); }

    const Token& take(Kind kind, const std::string& what) {
        const Token& token = next();
        if (token.kind != kind) fail(token.where, "expected " + what + (token.value.empty() ? "" : ", found " + token.value));
        return token;
    }

    const Token& peek() const { return stream.tokens[at]; }
    const Token& previous() const { return stream.tokens[at == 0 ? 0 : at - 1]; }
    const Token& next() {
        const Token& token = stream.tokens[at];
        if (token.kind == Kind::end) fail(token.where, "the script ends inside a dialog");
        ++at;
        return token;
    }

    [[noreturn]] static void fail(const std::string& where, const std::string& problem) {
        throw ScriptError(where + ": " + problem);
    }

    TokenStream stream;
    size_t at = 0;
    int expansions = 0;
};

}  // namespace

std::vector<platform::DialogResource> parse(const std::string& text, const std::filesystem::path& fileName,
                                            const IncludeReader& readInclude) {
    return Parser(tokenize(text, fileName, readInclude)).script();
}

std::vector<platform::DialogResource> parseFile(const std::filesystem::path& path) {
    auto read = [](const std::filesystem::path& file, const std::string& where) {
        std::ifstream stream(file, std::ios::binary);
        if (!stream) throw ScriptError(where + ": cannot read " + file.string());
        std::ostringstream content;
        content << stream.rdbuf();
        return content.str();
    };
    const std::filesystem::path folder = path.parent_path();
    return parse(read(path, path.filename().string()), path, [&](const std::filesystem::path& name) {
        return read(folder / name, path.filename().string());
    });
}

}  // namespace resource_script

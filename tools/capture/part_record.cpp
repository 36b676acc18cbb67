#include "tools/capture/part_record.h"

#include <charconv>
#include <map>
#include <sstream>
#include <string_view>

namespace capture {

namespace {

constexpr std::string_view heading = "kvor-capture-part";

template <typename Number>
std::optional<Number> number(std::string_view text) {
    Number value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

// "A<separator>B" as two numbers.
template <typename First, typename Second>
std::optional<std::pair<First, Second>> pair(std::string_view text, char separator) {
    const size_t at = text.find(separator);
    if (at == std::string_view::npos) return std::nullopt;
    const auto first = number<First>(text.substr(0, at));
    const auto second = number<Second>(text.substr(at + 1));
    if (!first || !second) return std::nullopt;
    return std::pair{*first, *second};
}

// Shortest text that reads back as the same double.
std::string exact(double value) {
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return std::string(text, error == std::errc() ? end : text);
}

std::optional<std::vector<TimedCommand>> parseCommands(std::string_view text) {
    std::vector<TimedCommand> commands;
    for (size_t start = 0; !text.empty(); start = text.find(',', start) + 1) {
        const auto command = pair<double, unsigned>(text.substr(start, text.find(',', start) - start), ':');
        if (!command) return std::nullopt;
        commands.push_back({command->first, command->second});
        if (text.find(',', start) == std::string_view::npos) break;
    }
    return commands;
}

}  // namespace

void setPicture(PartRecord& record, const std::optional<platform::EnhancedFrame>& enhanced) {
    if (!enhanced) return;
    record.width = enhanced->width;
    record.height = enhanced->height;
    record.look = enhanced->stretch ? "stretched" : "enhanced";
}

std::string partTag(const PartRecord& record) {
    std::ostringstream tag;
    tag << heading << " frames=" << record.range.first << "-" << record.range.last << " show=" << record.showFrames
        << " size=" << record.width << "x" << record.height << " look=" << record.look << " video=" << record.frames
        << " commands=";
    for (size_t k = 0; k < record.commands.size(); ++k)
        tag << (k > 0 ? "," : "") << exact(record.commands[k].seconds) << ":" << record.commands[k].id;
    return tag.str();
}

std::optional<PartRecord> parsePartTag(const std::string& text) {
    std::istringstream words(text);
    std::string word;
    if (!(words >> word) || word != heading) return std::nullopt;
    std::map<std::string, std::string, std::less<>> values;
    while (words >> word) {
        const size_t equals = word.find('=');
        if (equals == std::string::npos) return std::nullopt;
        values[word.substr(0, equals)] = word.substr(equals + 1);
    }
    for (const char* key : {"frames", "show", "size", "look", "video"})
        if (!values.contains(key)) return std::nullopt;
    const auto range = pair<uint32_t, uint32_t>(values["frames"], '-');
    const auto size = pair<uint32_t, uint32_t>(values["size"], 'x');
    const auto show = number<uint32_t>(values["show"]);
    const auto frames = number<uint32_t>(values["video"]);
    const auto commands = parseCommands(values["commands"]);
    const std::string& look = values["look"];
    if (!range || range->first > range->second || !size || !show || !frames || !commands ||
        (look != "primary" && look != "enhanced" && look != "stretched"))
        return std::nullopt;
    return PartRecord{{range->first, range->second}, *show, size->first, size->second, look, *frames, *commands};
}

}  // namespace capture

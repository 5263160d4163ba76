#include "tools/qdax_sim/sim_options.h"

#include <charconv>
#include <functional>
#include <set>

namespace qdax_sim {
namespace {

constexpr std::size_t kMaxFloodLines = 10'000'000;
constexpr std::size_t kMaxFloodLength = 4096;
constexpr std::size_t kMaxLines = 100'000;
constexpr long kMaxMilliseconds = 3'600'000;
constexpr std::size_t kMaxSpewRate = 100'000'000;

std::optional<std::size_t> ParseNumber(const std::string& text, std::size_t min, std::size_t max) {
    std::size_t value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

std::size_t DecimalDigits(std::size_t value) {
    std::size_t digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

// One option: its name, whether a value follows it, and how it lands in the options.
struct OptionDefinition {
    const char* name;
    bool takesValue;
    std::function<bool(SimOptions&, const std::string&)> apply;  // false: value out of range
};

bool SetCount(std::size_t& field, const std::string& value, std::size_t min, std::size_t max) {
    auto number = ParseNumber(value, min, max);
    if (number) field = *number;
    return number.has_value();
}

bool SetMilliseconds(std::chrono::milliseconds& field, const std::string& value) {
    auto number = ParseNumber(value, 0, kMaxMilliseconds);
    if (number) field = std::chrono::milliseconds(*number);
    return number.has_value();
}

const std::vector<OptionDefinition>& OptionDefinitions() {
    static const std::vector<OptionDefinition> definitions = {
        {"--help", false, [](SimOptions& o, const std::string&) { return o.help = true; }},
        {"--ports-dir", true,
         [](SimOptions& o, const std::string& v) {
             o.portsDir = v;
             return !v.empty();
         }},
        {"--com", true,
         [](SimOptions& o, const std::string& v) {
             auto number = ParseNumber(v, 1, 255);
             if (number) o.comNumber = static_cast<int>(*number);
             return number.has_value();
         }},
        {"--answer", true,
         [](SimOptions& o, const std::string& v) {
             o.answer = v;
             return true;
         }},
        {"--echo", false, [](SimOptions& o, const std::string&) { return o.echo = true; }},
        {"--lines", true,
         [](SimOptions& o, const std::string& v) { return SetCount(o.lines, v, 1, kMaxLines); }},
        {"--line-end", true,
         [](SimOptions& o, const std::string& v) {
             if (v == "crlf")
                 o.lineEnd = LineEnd::CrLf;
             else if (v == "cr")
                 o.lineEnd = LineEnd::Cr;
             else if (v == "lf")
                 o.lineEnd = LineEnd::Lf;
             else
                 return false;
             return true;
         }},
        {"--delay", true,
         [](SimOptions& o, const std::string& v) { return SetMilliseconds(o.delay, v); }},
        {"--silent", false, [](SimOptions& o, const std::string&) { return o.silent = true; }},
        {"--partial", false, [](SimOptions& o, const std::string&) { return o.partial = true; }},
        {"--split", true,
         [](SimOptions& o, const std::string& v) {
             return SetCount(o.splitSize, v, 1, kMaxFloodLength);
         }},
        {"--split-pause", true,
         [](SimOptions& o, const std::string& v) { return SetMilliseconds(o.splitPause, v); }},
        {"--flood", true,
         [](SimOptions& o, const std::string& v) {
             return SetCount(o.floodLines, v, 1, kMaxFloodLines);
         }},
        {"--flood-length", true,
         [](SimOptions& o, const std::string& v) {
             return SetCount(o.floodLength, v, 1, kMaxFloodLength);
         }},
        {"--disconnect-after", true,
         [](SimOptions& o, const std::string& v) {
             auto number = ParseNumber(v, 1, SIZE_MAX);
             if (number) o.disconnectAfter = *number;
             return number.has_value();
         }},
        {"--spew", true,
         [](SimOptions& o, const std::string& v) {
             return SetCount(o.spewRate, v, 1, kMaxSpewRate);
         }},
        {"--record", true,
         [](SimOptions& o, const std::string& v) {
             o.recordPath = v;
             return !v.empty();
         }},
        {"--print-path", false,
         [](SimOptions& o, const std::string&) { return o.printPath = true; }},
    };
    return definitions;
}

const OptionDefinition* FindDefinition(const std::string& name) {
    for (const auto& definition : OptionDefinitions()) {
        if (name == definition.name) return &definition;
    }
    return nullptr;
}

// Options that contradict each other, or that mean nothing without another one.
std::string ConflictError(const SimOptions& o, const std::set<std::string>& given) {
    auto conflict = [&](const char* first, const char* second) -> std::string {
        if (given.count(first) && given.count(second)) {
            return std::string(first) + " cannot be combined with " + second;
        }
        return {};
    };
    const std::pair<const char*, const char*> pairs[] = {
        {"--silent", "--answer"},
        {"--silent", "--lines"},
        {"--silent", "--flood"},
        {"--silent", "--partial"},
        {"--silent", "--split"},
        {"--silent", "--delay"},
        {"--flood", "--answer"},
        {"--flood", "--lines"},
        {"--spew", "--answer"},
        {"--spew", "--lines"},
        {"--spew", "--flood"},
        {"--spew", "--silent"},
        {"--spew", "--echo"},
        {"--spew", "--partial"},
        {"--spew", "--split"},
        {"--spew", "--delay"},
        {"--spew", "--disconnect-after"},
    };
    for (auto [first, second] : pairs) {
        if (auto error = conflict(first, second); !error.empty()) return error;
    }
    if (given.count("--split-pause") && !given.count("--split")) {
        return "--split-pause needs --split";
    }
    if (given.count("--flood-length") && !given.count("--flood")) {
        return "--flood-length needs --flood";
    }
    if (o.floodLines > 0 && o.floodLength < DecimalDigits(o.floodLines)) {
        return "--flood-length is too short for the line numbers of --flood";
    }
    return {};
}

}  // namespace

ParsedOptions ParseSimOptions(const std::vector<std::string>& arguments) {
    ParsedOptions result;
    std::set<std::string> given;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (auto equals = name.find('='); name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (name == "-h") name = "--help";
        const OptionDefinition* definition = FindDefinition(name);
        if (!definition) {
            result.error = "unknown option " + name;
            return result;
        }
        if (definition->takesValue && !value) {
            if (i + 1 == arguments.size()) {
                result.error = name + " needs a value";
                return result;
            }
            value = arguments[++i];
        }
        if (!definition->takesValue && value) {
            result.error = name + " takes no value";
            return result;
        }
        if (!definition->apply(result.options, value.value_or(""))) {
            result.error = "invalid value for " + name + ": " + *value;
            return result;
        }
        given.insert(name);
    }
    if (!result.options.help) result.error = ConflictError(result.options, given);
    return result;
}

std::string LineEndBytes(LineEnd lineEnd) {
    switch (lineEnd) {
        case LineEnd::Cr:
            return "\r";
        case LineEnd::Lf:
            return "\n";
        case LineEnd::CrLf:
            break;
    }
    return "\r\n";
}

}  // namespace qdax_sim

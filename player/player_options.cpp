#include "player/player_options.h"

#include <charconv>
#include <optional>

#include "serial/baud_rates.h"

namespace {

constexpr std::int32_t kLongestDelayMs = 5000;
// A day: long enough for any device, short enough to stay clear of the clock's range.
constexpr std::int32_t kLongestAnswerTimeoutSeconds = 86400;

// A plain decimal number in [low, high], or nothing.
std::optional<std::int32_t> NumberIn(const std::string& text, std::int32_t low, std::int32_t high) {
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

// The chooser's rates, by value or by the label the chooser shows.
std::optional<std::int32_t> BaudRateOf(const std::string& text) {
    for (const BaudRate& rate : BaudRates) {
        if (text == rate.label || text == std::to_string(rate.value)) return rate.value;
    }
    return std::nullopt;
}

std::string BaudRateChoices() {
    std::string choices;
    for (const BaudRate& rate : BaudRates) {
        if (!choices.empty()) choices += ", ";
        choices += std::to_string(rate.value);
    }
    return choices;
}

class Parser {
public:
    explicit Parser(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    ParsedCommandLine Parse() {
        std::vector<std::string> files;
        bool optionsEnded = false;
        for (next_ = 0; next_ < arguments_.size() && result_.error.empty();) {
            const std::string argument = arguments_[next_++];
            if (optionsEnded || argument == "-" || argument.rfind('-', 0) != 0) {
                files.push_back(argument);
            } else if (argument == "--") {
                optionsEnded = true;
            } else {
                Option(argument);
            }
            if (Finished()) return result_;
        }
        if (result_.error.empty()) CheckWhatToDo(files);
        return result_;
    }

private:
    bool Finished() const {
        const PlayerOptions::Action action = result_.options.action;
        return result_.error.empty() &&
               (action == PlayerOptions::Action::Help || action == PlayerOptions::Action::Version);
    }

    void Option(const std::string& argument) {
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        inlineValue_ =
            equals == std::string::npos ? std::nullopt : std::optional(argument.substr(equals + 1));
        PlayerOptions& options = result_.options;
        if (name == "--help" || name == "-h") {
            Flag(name, [&] { options.action = PlayerOptions::Action::Help; });
        } else if (name == "--version") {
            Flag(name, [&] { options.action = PlayerOptions::Action::Version; });
        } else if (name == "--list") {
            Flag(name, [&] { options.action = PlayerOptions::Action::List; });
        } else if (name == "--quiet") {
            Flag(name, [&] { options.quiet = true; });
        } else if (name == "--port") {
            WithValue(name, [&](const std::string& value) { return Text(value, options.port); });
        } else if (name == "--log") {
            WithValue(name, [&](const std::string& value) { return Text(value, options.logPath); });
        } else if (name == "--baud") {
            WithValue(name, [&](const std::string& value) {
                return Assign(BaudRateOf(value), options.baud, "one of " + BaudRateChoices());
            });
        } else if (name == "--delay") {
            WithValue(name, [&](const std::string& value) {
                return Assign(NumberIn(value, 0, kLongestDelayMs), options.delayMs,
                              "milliseconds from 0 to 5000");
            });
        } else if (name == "--answer-timeout") {
            WithValue(name, [&](const std::string& value) {
                return Assign(NumberIn(value, 0, kLongestAnswerTimeoutSeconds),
                              options.answerTimeoutSeconds, "whole seconds from 0 to 86400");
            });
        } else {
            result_.error = "unknown option " + name;
        }
    }

    template <typename Set>
    void Flag(const std::string& name, Set set) {
        if (inlineValue_) {
            result_.error = name + " takes no value";
            return;
        }
        set();
    }

    // `take` returns what the value must be, or nothing when it is good.
    template <typename Take>
    void WithValue(const std::string& name, Take take) {
        std::optional<std::string> value = inlineValue_;
        if (!value && next_ < arguments_.size()) value = arguments_[next_++];
        if (!value) {
            result_.error = name + " needs a value";
            return;
        }
        if (const std::optional<std::string> wanted = take(*value)) {
            result_.error = name + ": \"" + *value + "\" is not " + *wanted;
        }
    }

    static std::optional<std::string> Text(const std::string& value, std::string& field) {
        if (value.empty()) return "a name";
        field = value;
        return std::nullopt;
    }

    static std::optional<std::string> Assign(std::optional<std::int32_t> parsed,
                                             std::int32_t& field, const std::string& wanted) {
        if (!parsed) return wanted;
        field = *parsed;
        return std::nullopt;
    }

    void CheckWhatToDo(const std::vector<std::string>& files) {
        PlayerOptions& options = result_.options;
        if (options.action == PlayerOptions::Action::List) {
            if (!files.empty()) result_.error = "--list takes no command file";
            return;
        }
        if (files.size() != 1) {
            result_.error = files.empty() ? "no command file given (\"-\" reads standard input)"
                                          : "more than one command file given";
        } else if (options.port.empty()) {
            result_.error = "no port given (--port NAME; --list shows the ports)";
        } else {
            options.file = files.front();
        }
    }

    const std::vector<std::string>& arguments_;
    std::size_t next_ = 0;
    std::optional<std::string> inlineValue_;
    ParsedCommandLine result_;
};

}  // namespace

ParsedCommandLine ParsePlayerOptions(const std::vector<std::string>& arguments) {
    return Parser(arguments).Parse();
}

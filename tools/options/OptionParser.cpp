#include "OptionParser.h"

#include "BuildInfo.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <iostream>

namespace {

// Where the option texts start in --help, unless a longer option pushes them on.
constexpr std::size_t helpColumn = 21;

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string joined(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& word : words)
        line += (line.empty() ? "" : " ") + word;
    return line;
}

// "  left   text", the text's further lines under its first.
std::string helpEntry(const std::string& left, const std::string& text, std::size_t column) {
    std::string entry = "  " + left;
    entry.resize(std::max(column, entry.size() + 2), ' ');
    for (const char c : text) {
        entry += c;
        if (c == '\n')
            entry += std::string(column, ' ');
    }
    return entry + '\n';
}

} // namespace

OptionParser::OptionParser(std::string program, std::string usage, std::string about)
    : program(std::move(program)), usage(std::move(usage)), about(std::move(about)) {}

void OptionParser::add(Option option) {
    if (find(option.name))
        throw std::logic_error("option " + option.name + " declared twice");
    options.push_back(std::move(option));
}

void OptionParser::flag(const std::string& name, const std::string& help,
                        std::function<void()> set) {
    add({name, {}, help, [set = std::move(set)](const std::vector<std::string>&) { set(); }});
}

void OptionParser::option(const std::string& name, const std::string& value,
                          const std::string& help, Take take) {
    add({name, {value}, help, [take = std::move(take)](const std::vector<std::string>& values) {
             take(values[0]);
         }});
}

void OptionParser::option(const std::string& name, const std::vector<std::string>& values,
                          const std::string& help, TakeAll take) {
    add({name, values, help, std::move(take)});
}

void OptionParser::operand(const std::string& name, const std::string& help, bool required,
                           Take take) {
    operands.push_back({name, help, required, std::move(take)});
}

void OptionParser::check(std::function<void()> whole) {
    checks.push_back(std::move(whole));
}

void OptionParser::epilogue(const std::string& text) {
    after = text;
}

const OptionParser::Option* OptionParser::find(const std::string& name) const {
    const auto found = std::find_if(options.begin(), options.end(),
                                    [&](const Option& o) { return o.name == name; });
    return found == options.end() ? nullptr : &*found;
}

std::string OptionParser::help() const {
    std::size_t column = helpColumn;
    std::vector<std::pair<std::string, std::string>> entries;
    for (const Operand& each : operands)
        entries.emplace_back(each.name, each.help);
    for (const Option& each : options) {
        if (!each.help.empty())
            entries.emplace_back(joined({each.name, joined(each.values)}), each.help);
    }
    entries.emplace_back("--help", "print this help and exit");
    entries.emplace_back("--version", "print the version and the commit it was built from, and "
                                      "exit");
    for (const auto& [left, text] : entries)
        column = std::max(column, std::min<std::size_t>(left.size() + 4, 30));

    std::string text = "usage: " + program + " " + usage + "\n" + about + "\n\n";
    for (const auto& [left, entryText] : entries)
        text += helpEntry(left, entryText, column);
    if (!after.empty())
        text += "\n" + after + (after.back() == '\n' ? "" : "\n");
    return text;
}

std::string OptionParser::version() const {
    return program + " (reelplay) " + buildVersion() + "\n" + buildCommitLine() + "\n";
}

std::size_t OptionParser::takeOption(const std::vector<std::string>& arguments,
                                     std::size_t at) const {
    const std::string& argument = arguments[at];
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const Option* option = find(name);
    if (!option)
        throw UsageError("unknown option " + name);
    std::vector<std::string> values;
    if (equals != std::string::npos) {
        if (option->values.empty())
            throw UsageError(name + " takes no value");
        values.push_back(argument.substr(equals + 1));
    }
    while (values.size() < option->values.size()) {
        if (++at == arguments.size()) {
            throw UsageError(
                name + " needs " +
                (option->values.size() == 1 ? "a value" : "the values " + joined(option->values)));
        }
        values.push_back(arguments[at]);
    }
    try {
        option->take(values);
    } catch (const UsageError& wrong) {
        throw UsageError(name + " " + quoted(joined(values)) + ": " + wrong.what());
    }
    return at;
}

OptionParser::Next OptionParser::take(const std::vector<std::string>& arguments) const {
    // --help and --version answer before any value is looked at, as long as they come as
    // options and not as the value of another.
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        if (argument == "--")
            break;
        if (argument == "--help" || argument == "-h")
            return Next::Help;
        if (argument == "--version")
            return Next::Version;
        const Option* option = argument.starts_with("--") && argument.find('=') == std::string::npos
                                   ? find(argument)
                                   : nullptr;
        if (option)
            at += option->values.size();
    }

    std::size_t operandsTaken = 0;
    bool optionsEnded = false;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            at = takeOption(arguments, at);
        } else if (operandsTaken == operands.size()) {
            throw UsageError("unexpected argument " + quoted(argument));
        } else {
            const Operand& operand = operands[operandsTaken++];
            try {
                operand.take(argument);
            } catch (const UsageError& wrong) {
                throw UsageError(operand.name + " " + quoted(argument) + ": " + wrong.what());
            }
        }
    }
    for (std::size_t missing = operandsTaken; missing < operands.size(); ++missing) {
        if (operands[missing].required)
            throw UsageError(operands[missing].name + " is missing");
    }
    for (const auto& whole : checks)
        whole();
    return Next::Go;
}

std::optional<int> OptionParser::parse(const std::vector<std::string>& arguments, std::ostream& out,
                                       std::ostream& err) const {
    try {
        switch (take(arguments)) {
        case Next::Go: return std::nullopt;
        case Next::Help: out << help() << std::flush; return 0;
        case Next::Version: out << version() << std::flush; return 0;
        }
    } catch (const UsageError& wrong) {
        err << program << ": " << wrong.what() << "\nTry '" << program
            << " --help' for more information.\n"
            << std::flush;
    }
    return 2;
}

std::optional<int> OptionParser::parse(int argc, char** argv) const {
    return parse(std::vector<std::string>(argv + std::min(argc, 1), argv + argc), std::cout,
                 std::cerr);
}

long readWholeNumber(const std::string& text, long low, long high) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < low || value > high) {
        throw UsageError("wants a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high));
    }
    return value;
}

std::filesystem::path readPath(const std::string& text) {
    if (text.empty())
        throw UsageError("wants a name");
    return text;
}

double readSeconds(const std::string& text, double most) {
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(value) || value < 0.0 ||
        value > most) {
        char range[64];
        std::snprintf(range, sizeof range, "wants seconds from 0 to %g", most);
        throw UsageError(range);
    }
    return value;
}

std::pair<int, int> readPixelSize(const std::string& text, long most) {
    const std::size_t times = text.find('x');
    try {
        if (times != std::string::npos)
            return {static_cast<int>(readWholeNumber(text.substr(0, times), 16, most)),
                    static_cast<int>(readWholeNumber(text.substr(times + 1), 16, most))};
    } catch (const UsageError&) {
    }
    throw UsageError("wants WIDTHxHEIGHT in pixels, each from 16 to " + std::to_string(most));
}

#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// What an option's handler, or a check of the whole command line, throws for something it
// cannot take; the parser names the option and the value, and the tool exits with status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One tool's command line, read the GNU way: `--name value` or `--name=value`, options and
// operands in any order, `--` ending the options, `--help` and `--version` answered here.
//
//     OptionParser parser("reelcheck", "[OPTION]... [SCRIPT]", "Checks a demo script.");
//     parser.flag("--tree", "print the script back", [&] { tree = true; });
//     parser.option("--chart", "FILE.png", "draw the timeline", [&](const std::string& file)
//     {...}); parser.operand("SCRIPT", "the demo script (default demoscript.scr)", false, ...); if
//     (const auto status = parser.parse(argc, argv))
//         return *status;
class OptionParser {
public:
    // `usage`: what follows the program's name on the usage line; `about`: what the tool does.
    OptionParser(std::string program, std::string usage, std::string about);

    using Take = std::function<void(const std::string&)>;
    using TakeAll = std::function<void(const std::vector<std::string>&)>;

    // The help texts may run over several lines ('\n'); an empty one hides the option from
    // --help (options a tool hands itself).
    void flag(const std::string& name, const std::string& help, std::function<void()> set);
    void option(const std::string& name, const std::string& value, const std::string& help,
                Take take);
    // An option followed by several values: `--name A B` (or `--name=A B`).
    void option(const std::string& name, const std::vector<std::string>& values,
                const std::string& help, TakeAll take);
    // The operands in the order they come; an optional one only after the required ones.
    void operand(const std::string& name, const std::string& help, bool required, Take take);
    // Run once every argument is taken: a UsageError from it is bad usage too.
    void check(std::function<void()> whole);
    // Text for --help after the list of options.
    void epilogue(const std::string& text);

    // Nothing: the tool goes on with what the handlers were given. Otherwise the exit status:
    // 0 after --help or --version (on `out`), 2 after bad usage (named on `err`).
    std::optional<int> parse(const std::vector<std::string>& arguments, std::ostream& out,
                             std::ostream& err) const;
    // The same with the process's arguments, stdout and stderr.
    std::optional<int> parse(int argc, char** argv) const;

    std::string help() const;
    std::string version() const;

private:
    struct Option {
        std::string name;
        std::vector<std::string> values;
        std::string help;
        TakeAll take;
    };
    struct Operand {
        std::string name;
        std::string help;
        bool required;
        Take take;
    };
    enum class Next { Go, Help, Version };

    // Takes every argument; throws UsageError with the whole message.
    Next take(const std::vector<std::string>& arguments) const;
    // Takes the option at arguments[at] with its values; answers the index of its last one.
    std::size_t takeOption(const std::vector<std::string>& arguments, std::size_t at) const;
    const Option* find(const std::string& name) const;
    void add(Option option);

    std::string program;
    std::string usage;
    std::string about;
    std::string after;
    std::vector<Option> options;
    std::vector<Operand> operands;
    std::vector<std::function<void()>> checks;
};

// Readers of the values tools share; each throws UsageError saying what it takes.
// A whole number from `low` to `high`.
long readWholeNumber(const std::string& text, long low, long high);
// A decimal number of seconds from 0 to `most`.
double readSeconds(const std::string& text, double most);
// A file or folder name: anything but nothing.
std::filesystem::path readPath(const std::string& text);
// "1280x960": a width and a height in pixels, each from 16 to `most`.
std::pair<int, int> readPixelSize(const std::string& text, long most);

// A small parser for "positional... [--flag] [--option VALUE]" command lines.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tlxcli {

class ArgParser {
public:
    // `flags` take no value, `options` take one ("--log FILE" or "--log=FILE").
    ArgParser(std::set<std::string> flags, std::set<std::string> options)
        : flags_(std::move(flags)), options_(std::move(options)) {}

    // False with a message in Error() when a word is unknown or a value missing.
    bool Parse(const std::vector<std::string>& args);

    bool Has(const std::string& name) const { return seen_.count(name) > 0; }
    std::string Value(const std::string& name, const std::string& fallback = "") const {
        auto it = values_.find(name);
        return it == values_.end() ? fallback : it->second;
    }
    const std::vector<std::string>& Positional() const { return positional_; }
    const std::string& Error() const { return error_; }
    bool WantsHelp() const { return Has("--help") || Has("-h"); }

private:
    std::set<std::string> flags_, options_, seen_;
    std::map<std::string, std::string> values_;
    std::vector<std::string> positional_;
    std::string error_;
};

}  // namespace tlxcli

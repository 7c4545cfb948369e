#include "cli/ArgParser.h"

namespace tlxcli {

bool ArgParser::Parse(const std::vector<std::string>& args) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--help" || word == "-h") {
            seen_.insert(word);
            continue;
        }
        if (word.size() < 2 || word[0] != '-' || word == "-") {
            positional_.push_back(word);
            continue;
        }
        std::string name = word, value;
        bool hasValue = false;
        if (auto eq = word.find('='); eq != std::string::npos) {
            name = word.substr(0, eq);
            value = word.substr(eq + 1);
            hasValue = true;
        }
        if (flags_.count(name) && !hasValue) {
            seen_.insert(name);
        } else if (options_.count(name)) {
            if (!hasValue) {
                if (i + 1 >= args.size()) {
                    error_ = "option " + name + " needs a value";
                    return false;
                }
                value = args[++i];
            }
            seen_.insert(name);
            values_[name] = value;
        } else {
            error_ = "unknown option " + word;
            return false;
        }
    }
    return true;
}

}  // namespace tlxcli

#include "app/CArgumentSet.h"

namespace {

// No option holds a second "/", so a word that does is an absolute path.
bool IsOptionWord(const std::string& word) {
    if (word.empty()) return false;
    return word[0] == '-' || (word[0] == '/' && word.find('/', 1) == std::string::npos);
}

}  // namespace

CArgumentSet::CArgumentSet(int argc, const char* const* argv) {
    bool optionsEnded = false;
    for (int i = 0; i < argc; ++i) {
        if (argv[i] == nullptr) break;
        std::string word = argv[i];
        const bool mayBeOption = i > 0 && !optionsEnded;
        if (mayBeOption && word == kEndOfOptions) {
            optionsEnded = true;
        } else if (mayBeOption && IsOptionWord(word)) {
            options_.push_back(std::move(word));
        } else {
            others_.push_back(std::move(word));
        }
    }
    if (HasProgram()) program_ = SplitPath(others_.front());
}

std::vector<std::string> CArgumentSet::Scripts() const {
    if (others_.size() < 2) return {};
    return std::vector<std::string>(others_.begin() + 1, others_.end());
}

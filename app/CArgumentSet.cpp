#include "app/CArgumentSet.h"

namespace {

bool IsOptionWord(const std::string& word) {
    return !word.empty() && (word[0] == '-' || word[0] == '/');
}

}  // namespace

CArgumentSet::CArgumentSet(int argc, const char* const* argv) {
    for (int i = 0; i < argc; ++i) {
        if (argv[i] == nullptr) break;
        std::string word = argv[i];
        if (i > 0 && IsOptionWord(word)) {
            options_.push_back(std::move(word));
        } else {
            others_.push_back(std::move(word));
        }
    }
    if (HasProgram()) program_ = SplitPath(others_.front());
}

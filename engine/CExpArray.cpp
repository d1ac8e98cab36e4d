#include "engine/CExpArray.h"

#include <limits>

#include "engine/CExpKakko.h"
#include "engine/CExpression.h"
#include "engine/ParseHelpers.h"

namespace {

constexpr int kBadSubscript = 1;    // "添え字式が誤っています"
constexpr int kMissingBracket = 2;  // "] がありません"

}  // namespace

// bracketlist -> '[' expression ']' { '[' expression ']' }
bool CExpArray::Parse(CExpSource& source, const std::string& text) {
    SkipBlanks(source, text);
    if (CurrentChar(source, text) != '[') return false;
    SetPosition(source.position);
    for (;;) {
        ++source.position;   // the '['
        if (!ParseGroup(source, text)) return false;
        SkipBlanks(source, text);
        if (CurrentChar(source, text) != ']') {
            source.AddDiag(source.position, EXP_ARRAY, kMissingBracket);
            return true;
        }
        ++source.position;   // the ']'
        SkipBlanks(source, text);
        if (CurrentChar(source, text) != '[') return true;
    }
}

// One expression between brackets. A leading parenthesis is taken as the
// parenthesised item alone, so «[(i)+1]» stops before the plus sign.
bool CExpArray::ParseGroup(CExpSource& source, const std::string& text) {
    SkipBlanks(source, text);
    if (auto kakko = MakeCandidate<CExpKakko>(this); kakko->Parse(source, text)) {
        AppendChild(std::move(kakko));
        return true;
    }
    if (auto expression = MakeCandidate<CExpression>(this);
        expression->ParseExpression(source, text, false)) {
        AppendChild(std::move(expression));
        return true;
    }
    source.AddDiag(source.position, EXP_ARRAY, kBadSubscript);
    return false;
}

std::string CExpArray::Text() const {
    std::string text;
    for (const auto& child : Children()) text += "[" + child->Text() + "]";
    return text;
}

bool CExpArray::Execute(CExpContext& context) {
    values_.clear();
    for (const auto& child : Children()) {
        if (!child->Execute(context)) return false;
        values_.push_back(context.value.AsInt());
    }
    return true;
}

uint64_t CExpArray::Product() const {
    constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
    uint64_t product = 1;
    for (int32_t value : values_) {
        const auto factor = static_cast<uint64_t>(static_cast<uint32_t>(value));
        if (factor != 0 && product > kMax / factor) return kMax;
        product *= factor;
    }
    return product;
}

#include "engine/CExpInitializer.h"

#include "engine/CExpConstant.h"
#include "engine/CExpKakko.h"
#include "engine/CExpression.h"
#include "engine/ParseHelpers.h"
#include "value/CArrayData.h"

namespace {

constexpr int kMissingExpression = 1;   // 18.1 "初期化式が必要です"
constexpr int kTypeMismatch = 6;        // 18.6, 19.6 "初期化式の型が合っていません"
constexpr int kMissingList = 1;         // 19.1 "配列初期化式リストが必要です"
constexpr int kListTooDeep = 2;         // 19.2 "配列初期化式リストは使用できません"
constexpr int kListNeeded = 3;          // 19.3 "配列初期化式リストが必要です"
constexpr int kTooManyItems = 4;        // 19.4 "配列初期化式が多すぎます"
constexpr int kMissingItem = 1;         // 20.1 "初期化式が必要です"
constexpr int kMissingBrace = 2;        // 20.2 "} がありません"
constexpr int kSyntaxError = 1;         // 1.1 "構文エラー"

// Both or neither of the declared and the initial value's type are strings.
bool StringnessMatches(int declaredType, int valueType) {
    return IsStringType(static_cast<uint32_t>(declaredType)) ==
           IsStringType(static_cast<uint32_t>(valueType));
}

// Counts the nesting of brace lists in the parse cursor's depth, which the
// expression parser shares, so that no input can exhaust the stack.
class DepthGuard {
public:
    explicit DepthGuard(CExpSource& source) : source_(source) { ++source_.depth; }
    ~DepthGuard() { --source_.depth; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;
    bool TooDeep() const { return source_.depth > CExpression::kMaxDepth; }

private:
    CExpSource& source_;
};

// True when the line was already refused as a whole, as when it nests too
// deeply; the enclosing lists then add no complaints of their own.
bool LineRefused(const CExpSource& source) {
    if (source.diags.Empty()) return false;
    const CExpDiag& last = source.diags.Last();
    return last.major == EXP_LINE && last.minor == kSyntaxError;
}

}  // namespace

// ---- CExpInitializer ----

bool CExpInitializer::Parse(CExpSource& source, const std::string& text) {
    SkipBlanks(source, text);
    if (CurrentChar(source, text) != '=') return false;
    SetPosition(source.position);
    ++source.position;
    SkipBlanks(source, text);
    // An earlier fault on the line stops the expression scan before it
    // reads anything; the initializer is then not missing, only unread.
    const bool unread = source.HasDiag();
    auto expression = MakeCandidate<CExpression>(this);
    if (!expression->ParseExpression(source, text, true)) {
        if (!unread) source.AddDiag(source.position, EXP_INITIALIZER, kMissingExpression);
        return false;
    }
    AppendChild(std::move(expression));
    return true;
}

bool CExpInitializer::CheckType(CExpSource& source, int declaredType) const {
    const CExpItem* expression = Child(0);
    if (StringnessMatches(declaredType, expression->ValueType())) return true;
    source.AddDiag(expression->Position(), EXP_INITIALIZER, kTypeMismatch);
    return false;
}

// Running the expression around a lone literal only runs the literal, so a
// kept declaration need not hold on to it; an include file of «int v = 1»
// lines then costs an expression less per variable for the whole session.
void CExpInitializer::KeepLiteralOnly() {
    if (ChildCount() != 1) return;
    CExpItem* expression = Child(0);
    if (expression->ChildCount() != 1) return;
    CExpItem* root = expression->Child(0);
    if (dynamic_cast<const CExpConstant*>(root) == nullptr) return;
    std::unique_ptr<CExpItem> literal = expression->RemoveChild(root);
    ClearChildren();
    AppendChild(std::move(literal));
}

// ---- CExpInitList ----

bool CExpInitList::Parse(CExpSource& source, const std::string& text) {
    SkipBlanks(source, text);
    if (CurrentChar(source, text) != '{') return false;
    ++source.position;
    SetPosition(source.position);
    const DepthGuard depth(source);
    if (depth.TooDeep()) {
        source.AddDiag(Position(), EXP_LINE, kSyntaxError);
        source.position = static_cast<int>(text.size());
        return true;
    }
    while (!AtEnd(source, text)) {
        SkipBlanks(source, text);
        if (!ParseItem(source, text)) source.AddDiag(source.position, EXP_INIT_LIST, kMissingItem);
        SkipBlanks(source, text);
        if (CurrentChar(source, text) != ',') break;
        ++source.position;
    }
    SkipBlanks(source, text);
    if (CurrentChar(source, text) == '}') {
        ++source.position;
    } else if (!LineRefused(source)) {
        source.AddDiag(source.position, EXP_INIT_LIST, kMissingBrace);
    }
    return true;
}

// item -> initlist | '(' expression ')' | expression
bool CExpInitList::ParseItem(CExpSource& source, const std::string& text) {
    if (auto list = MakeCandidate<CExpInitList>(this); list->Parse(source, text)) {
        AppendChild(std::move(list));
        return true;
    }
    if (auto kakko = MakeCandidate<CExpKakko>(this); kakko->Parse(source, text)) {
        AppendChild(std::move(kakko));
        return true;
    }
    if (auto expression = MakeCandidate<CExpression>(this);
        expression->ParseExpression(source, text, true)) {
        AppendChild(std::move(expression));
        return true;
    }
    return false;
}

std::string CExpInitList::Text() const {
    std::string text = "{";
    for (size_t i = 0; i < ChildCount(); ++i) {
        if (i > 0) text += ", ";
        text += Child(i)->Text();
    }
    return text + "}";
}

bool CExpInitList::CheckShape(CExpSource& source, const std::vector<int32_t>& dims, size_t level,
                              int elementType) const {
    if (level >= dims.size()) {
        source.AddDiag(Position(), EXP_ARY_INITIALIZER, kListTooDeep);
        return false;
    }
    const size_t itemLevel = level + 1;
    for (const auto& item : Children()) {
        if (item->Kind() == EXP_INIT_LIST) {
            const auto& list = static_cast<const CExpInitList&>(*item);
            if (!list.CheckShape(source, dims, itemLevel, elementType)) return false;
        } else if (itemLevel < dims.size()) {
            source.AddDiag(item->Position(), EXP_ARY_INITIALIZER, kListNeeded);
            return false;
        } else if (!StringnessMatches(elementType, item->ValueType())) {
            source.AddDiag(item->Position(), EXP_ARY_INITIALIZER, kTypeMismatch);
            return false;
        }
    }
    if (ChildCount() > static_cast<size_t>(dims[level])) {
        source.AddDiag(Position(), EXP_ARY_INITIALIZER, kTooManyItems);
        return false;
    }
    return true;
}

// The shape check has put lists and values at the levels the dimensions call
// for; the storage is still guarded against any list that would not fit it.
bool CExpInitList::Fill(CArrayData& storage, std::vector<int32_t>& index, size_t level,
                        CExpContext& context) const {
    if (level >= index.size() || ChildCount() > static_cast<size_t>(storage.Dims()[level])) {
        return false;
    }
    for (size_t i = 0; i < ChildCount(); ++i) {
        index[level] = static_cast<int32_t>(i);
        CExpItem* item = Child(i);
        if (item->Kind() == EXP_INIT_LIST) {
            const auto* list = static_cast<const CExpInitList*>(item);
            if (!list->Fill(storage, index, level + 1, context)) return false;
        } else {
            if (!item->Execute(context)) return false;
            storage.SetElement(index, context.value);
        }
    }
    return true;
}

// ---- CExpAryInitializer ----

bool CExpAryInitializer::Parse(CExpSource& source, const std::string& text) {
    SkipBlanks(source, text);
    if (CurrentChar(source, text) != '=') return false;
    SetPosition(source.position);
    ++source.position;
    SkipBlanks(source, text);
    if (auto list = MakeCandidate<CExpInitList>(this); list->Parse(source, text)) {
        AppendChild(std::move(list));
    } else {
        source.AddDiag(source.position, EXP_ARY_INITIALIZER, kMissingList);
    }
    return true;
}

const CExpInitList* CExpAryInitializer::List() const {
    return ChildCount() == 1 ? static_cast<const CExpInitList*>(Child(0)) : nullptr;
}

// Without a list (already reported as missing) there is nothing to check.
bool CExpAryInitializer::CheckShape(CExpSource& source, const std::vector<int32_t>& dims,
                                    int elementType) const {
    const CExpInitList* list = List();
    return list == nullptr || list->CheckShape(source, dims, 0, elementType);
}

bool CExpAryInitializer::Fill(CArrayData& storage, CExpContext& context) const {
    const CExpInitList* list = List();
    if (list == nullptr) return false;
    std::vector<int32_t> index(storage.Dims().size(), 0);
    return list->Fill(storage, index, 0, context);
}

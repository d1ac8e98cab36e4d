#include "engine/CExpression.h"

#include <algorithm>
#include <cstring>

#include "engine/CExpBoolConst.h"
#include "engine/CExpCharConst.h"
#include "engine/CExpFraConst.h"
#include "engine/CExpFunccall.h"
#include "engine/CExpKakko.h"
#include "engine/CExpNumConst.h"
#include "engine/CExpOperator.h"
#include "engine/CExpRefarray.h"
#include "engine/CExpReference.h"
#include "engine/CExpStrConst.h"
#include "engine/ParseHelpers.h"

namespace {

constexpr int kSyntaxError = 1;          // (1, 1) "構文エラー"
constexpr int kUndefinedName = 2;        // (1, 2) "未定義の識別子です"
constexpr int kMissingOperand = 1;       // (13, 1) "演算子に対応する被演算子がありません"
constexpr int kMissingOperator = 2;      // (13, 2) "演算子が不足しています"
constexpr int kNotVariable = 7;          // (11, 7) "被演算子は変数でなければなりません"

// Room for the items of a typical expression, so that scanning one does not
// grow its list again and again.
constexpr size_t kTypicalItems = 32;

// A "?" still waiting for its ":" holds back every operator that arrives.
constexpr int kWaitingPrecedence = 99;

using Sequence = std::vector<std::unique_ptr<CExpItem>>;

using CandidateMaker = std::unique_ptr<CExpItem> (*)(CExpItem* parent);

template <class T>
std::unique_ptr<CExpItem> Candidate(CExpItem* parent) {
    return MakeCandidate<T>(parent);
}

// How the text of each item class can begin. A class is only offered the
// text when it fits, which spares building and discarding candidates that
// could never recognise it; the order of the classes, and so which class
// wins, is unchanged.
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool StartsGroup(const std::string& text, size_t at) { return text[at] == '('; }
bool StartsOperator(const std::string& text, size_t at) {
    const char c = text[at];
    return c != 0 && std::strchr("+-~*/%<>=!^&|?:,", c) != nullptr;
}
bool StartsName(const std::string& text, size_t at) {
    const unsigned char c = text[at];
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
// A fraction is a run of digits followed by "$".
bool StartsFraction(const std::string& text, size_t at) {
    while (at < text.size() && IsDigit(text[at])) ++at;
    return at < text.size() && text[at] == '$';
}
bool StartsNumber(const std::string& text, size_t at) { return IsDigit(text[at]) || text[at] == '.'; }
bool StartsChar(const std::string& text, size_t at) { return text[at] == '\''; }
bool StartsString(const std::string& text, size_t at) { return text[at] == '"'; }
bool StartsBool(const std::string& text, size_t at) { return text[at] == 't' || text[at] == 'f'; }

struct ItemClass {
    bool (*startsWith)(const std::string& text, size_t at);
    CandidateMaker make;
};

// ORDER ITEMSCAN: the first class that recognises the text wins. A name
// followed by "(" is a call before it is a variable, "true" and "false" are
// constants before they are names, a name followed by "[" is an element
// before it is a variable, and a fraction with "$" is tried before the
// other numbers.
constexpr ItemClass kItemClasses[] = {
    {StartsGroup, Candidate<CExpKakko>},      {StartsOperator, Candidate<CExpOperator>},
    {StartsName, Candidate<CExpFunccall>},    {StartsFraction, Candidate<CExpFraConst>},
    {StartsNumber, Candidate<CExpNumConst>},  {StartsChar, Candidate<CExpCharConst>},
    {StartsString, Candidate<CExpStrConst>},  {StartsBool, Candidate<CExpBoolConst>},
    {StartsName, Candidate<CExpRefarray>},    {StartsName, Candidate<CExpReference>},
};

CExpOperator* AsOperator(CExpItem* item) {
    return item != nullptr && item->Kind() == EXP_OPERATOR ? static_cast<CExpOperator*>(item) : nullptr;
}

bool HasCode(CExpItem* item, int code) {
    const CExpOperator* op = AsOperator(item);
    return op != nullptr && op->Code() == code;
}

bool IsIncrement(CExpItem* item) { return HasCode(item, OP_PRE_INC) || HasCode(item, OP_PRE_DEC); }

// A "+" or "-" after an operand (or after "++"/"--") adds or subtracts; the
// first item of the sequence is always a sign.
void ResolveSigns(Sequence& items) {
    for (size_t i = 1; i < items.size(); ++i) {
        CExpOperator* op = AsOperator(items[i].get());
        if (op == nullptr || (op->Code() != OP_PLUS && op->Code() != OP_MINUS)) continue;
        CExpItem* before = items[i - 1].get();
        if (AsOperator(before) == nullptr || IsIncrement(before)) {
            FindOperator(op->Code() == OP_PLUS ? OP_ADD : OP_SUB, op->Def());
        }
    }
}

// "++" and "--" after a variable are postfix, before one prefix; next to
// anything else (an array element included) they are refused.
bool ResolveIncrements(CExpSource& source, Sequence& items) {
    auto isReference = [&items](size_t i) { return i < items.size() && items[i]->Kind() == EXP_REFERENCE; };
    for (size_t i = 0; i < items.size(); ++i) {
        if (!IsIncrement(items[i].get())) continue;
        CExpOperator& op = *AsOperator(items[i].get());
        if (i > 0 && isReference(i - 1)) {
            op.Def().code = op.Code() == OP_PRE_INC ? OP_POST_INC : OP_POST_DEC;
        } else if (!isReference(i + 1)) {
            source.AddDiag(op.Position(), EXP_OPERATOR, kNotVariable);
            items.clear();
            return false;
        }
    }
    return true;
}

// An item on the pending stack of the reordering.
struct Pending {
    std::unique_ptr<CExpItem> item;
    bool waitsForColon = false;   // a "?" whose ":" has not come yet
};

// Whether the operator on top of the pending stack is moved to the postfix
// list before the arriving operator c is pushed.
bool Precedes(const CExpOperator& top, const CExpOperator& c) {
    // Everything between a ":" and the "?" it closes belongs to the middle
    // operand, even "=", "," and a "?" that is complete.
    if (c.Code() == OP_COLON &&
        (top.Code() == OP_ASSIGN || top.Code() == OP_COMMA || top.Code() == OP_COND)) {
        return true;
    }
    const OperatorDef& t = top.Def();
    return t.precedence < c.Def().precedence || (t.precedence == c.Def().precedence && t.rightToLeft == 0);
}

// Reorders the items into postfix order by precedence. A ":" is consumed by
// the nearest "?" that still waits for it; that "?" then takes part in the
// ordering with its own precedence, so that «c ? a : b, d» and
// «a ? b : c ? d : e» group as in C.
Sequence ToPostfix(Sequence items) {
    Sequence postfix;
    std::vector<Pending> pending;
    postfix.reserve(items.size());
    pending.reserve(items.size());
    auto moveTop = [&]() {
        postfix.push_back(std::move(pending.back().item));
        pending.pop_back();
    };
    for (std::unique_ptr<CExpItem>& current : items) {
        CExpOperator* c = AsOperator(current.get());
        bool consumed = false;
        while (!pending.empty() && !consumed) {
            Pending& top = pending.back();
            CExpOperator* t = AsOperator(top.item.get());
            if (t == nullptr) {
                moveTop();
            } else if (c == nullptr) {
                break;
            } else if (top.waitsForColon) {
                if (c->Code() == OP_COLON) {
                    FindOperator(OP_COND, t->Def());
                    top.waitsForColon = false;
                    consumed = true;
                } else {
                    t->Def().precedence = kWaitingPrecedence;
                    break;
                }
            } else if (Precedes(*t, *c)) {
                moveTop();
            } else {
                break;
            }
        }
        if (consumed) {
            current.reset();
        } else {
            const bool isQuestion = c != nullptr && c->Code() == OP_COND;
            pending.push_back({std::move(current), isQuestion});
        }
    }
    while (!pending.empty()) moveTop();
    return postfix;
}

// The levels of an item's own tree above its leaves. A nested expression
// knows its depth already, so this never descends into one.
int NestingDepth(const CExpItem& item) {
    if (item.Kind() == EXP_EXPRESSION) {
        if (const auto* expression = dynamic_cast<const CExpression*>(&item)) return expression->Depth();
    }
    if (item.ChildCount() == 0) return 0;
    int deepest = 0;
    for (const auto& child : item.Children()) deepest = std::max(deepest, NestingDepth(*child));
    return deepest + 1;
}

// Whether s may be operand i (counted from the last) of r although it binds
// more loosely: the value of "=" may be a "?", and the middle of a "?" may
// be a ",".
bool IsAllowedLooserOperand(const CExpOperator& r, size_t i, const CExpOperator& s) {
    return (r.Code() == OP_ASSIGN && i == 0 && s.Code() == OP_COND) ||
           (r.Code() == OP_COND && i == 1 && s.Code() == OP_COMMA);
}

// Keeps source.depth for the length of one expression parse.
class NestingGuard {
public:
    explicit NestingGuard(int& depth) : depth_(depth) { ++depth_; }
    ~NestingGuard() { --depth_; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

private:
    int& depth_;
};

}  // namespace

bool CExpression::Parse(CExpSource& source, const std::string& text) {
    return ParseExpression(source, text, false);
}

// expression -> item { item }, ordered by the operator table
bool CExpression::ParseExpression(CExpSource& source, const std::string& text, bool stopAtComma) {
    if (source.depth > kMaxDepth) return Refuse(source, source.position, EXP_LINE, kSyntaxError);
    const NestingGuard guard(source.depth);

    SkipBlanks(source, text);
    if (AtEnd(source, text)) return false;
    SetPosition(source.position);

    Sequence items;
    items.reserve(kTypicalItems);
    if (ScanItems(source, text, stopAtComma, items) == ScanEnd::Failed) return false;
    // An item at the end of the text may have recorded a fault; building and
    // checking a tree around it would only report the same fault again.
    if (source.HasDiag()) return false;
    if (items.empty()) return false;
    ResolveSigns(items);
    if (!ResolveIncrements(source, items)) return false;
    return BuildTree(source, ToPostfix(std::move(items)));
}

// The scan keeps the items out of the child list, so the name lookups of
// later items do not walk past every earlier item of a long line.
CExpression::ScanEnd CExpression::ScanItems(CExpSource& source, const std::string& text, bool stopAtComma,
                                            Sequence& items) {
    while (!AtEnd(source, text)) {
        if (source.HasDiag()) return ScanEnd::Failed;
        SkipBlanks(source, text);
        std::unique_ptr<CExpItem> item = ScanItem(source, text);
        if (item == nullptr) {
            // A character that starts no item ends the expression; the
            // caller decides whether it belongs there. A name that is
            // neither a variable nor a function is an error.
            // An item class that refused the text may already have reported
            // why («a[» for an array a); the name is not undefined then.
            if (source.HasDiag()) return ScanEnd::Failed;
            const std::string name = ReadIdentifier(source, text);
            if (name.empty()) break;
            source.AddDiag(source.position, EXP_LINE, kUndefinedName);
            source.position += static_cast<int>(name.size());
            return ScanEnd::Failed;
        }
        if (stopAtComma && HasCode(item.get(), OP_COMMA)) {
            source.position -= 1;
            break;
        }
        items.push_back(std::move(item));
    }
    return ScanEnd::Complete;
}

std::unique_ptr<CExpItem> CExpression::ScanItem(CExpSource& source, const std::string& text) {
    const int start = source.position;
    if (AtEnd(source, text)) return nullptr;
    for (const ItemClass& itemClass : kItemClasses) {
        if (!itemClass.startsWith(text, start)) continue;
        source.position = start;
        std::unique_ptr<CExpItem> candidate = itemClass.make(this);
        if (candidate->Parse(source, text)) return candidate;
    }
    source.position = start;
    return nullptr;
}

bool CExpression::Refuse(CExpSource& source, int position, int major, int minor) {
    source.AddDiag(position, major, minor);
    buildFailed_ = true;
    return false;
}

bool CExpression::BuildTree(CExpSource& source, Sequence postfix) {
    for (const auto& item : postfix) item->SetParent(nullptr);
    buildFailed_ = false;
    std::unique_ptr<CExpItem> root = TakeSubtree(source, postfix, depth_);
    if (root == nullptr) return false;
    PrependChild(std::move(root));
    if (!postfix.empty()) return Refuse(source, postfix.front()->Position(), EXP_EXPRESSION, kMissingOperator);
    return Check(source);
}

// Takes one subtree from the end of the postfix list: the last item, and
// for an operator as many subtrees before it as it has operands, the last
// operand first. The operators still waiting for operands are kept on an
// explicit stack, so a long chain cannot exhaust the call stack; depth
// receives the subtree's depth. Answers nullptr when the line is refused.
std::unique_ptr<CExpItem> CExpression::TakeSubtree(CExpSource& source, Sequence& postfix, int& depth) {
    struct Waiting {
        std::unique_ptr<CExpItem> item;   // a CExpOperator
        size_t taken = 0;                 // operands attached so far
        int depth = 0;
    };
    std::vector<Waiting> waiting;
    waiting.reserve(postfix.size());
    std::unique_ptr<CExpItem> done;
    int doneDepth = 0;

    // Starts on the last item of the list; false when it is too deep.
    auto start = [&]() {
        std::unique_ptr<CExpItem> item = std::move(postfix.back());
        postfix.pop_back();
        const CExpOperator* op = AsOperator(item.get());
        if (op != nullptr && op->Def().arity > 0) {
            item->ReserveChildren(op->Def().arity);
            waiting.push_back({std::move(item)});
            return true;
        }
        doneDepth = NestingDepth(*item);
        if (doneDepth > kMaxDepth) return Refuse(source, item->Position(), EXP_LINE, kSyntaxError);
        done = std::move(item);
        return true;
    };
    // The operator on top has all its operands, or none are left for it.
    auto finishTop = [&]() {
        done = std::move(waiting.back().item);
        doneDepth = waiting.back().depth;
        waiting.pop_back();
    };

    if (!start()) return nullptr;
    while (!waiting.empty()) {
        Waiting& top = waiting.back();
        auto& r = static_cast<CExpOperator&>(*top.item);
        if (done != nullptr) {
            const CExpOperator* s = AsOperator(done.get());
            if (s != nullptr && s->Def().precedence > r.Def().precedence && !IsAllowedLooserOperand(r, top.taken, *s)) {
                Refuse(source, r.Position(), EXP_EXPRESSION, kMissingOperand);
                return nullptr;
            }
            if (doneDepth + 1 > kMaxDepth) {
                Refuse(source, r.Position(), EXP_LINE, kSyntaxError);
                return nullptr;
            }
            top.depth = std::max(top.depth, doneDepth + 1);
            r.PrependChild(std::move(done));
            ++top.taken;
        }
        if (top.taken == static_cast<size_t>(r.Def().arity)) {
            finishTop();
        } else if (postfix.empty()) {
            Refuse(source, r.Position(), EXP_EXPRESSION, kMissingOperand);
            finishTop();
        } else if (!start()) {
            return nullptr;
        }
    }
    depth = doneDepth;
    return done;
}

bool CExpression::Execute(CExpContext& context) { return ExecuteChildren(context); }

bool CExpression::Check(CExpSource& source) {
    if (!checked_) checked_ = CExpItem::Check(source);
    return checked_;
}

int CExpression::ValueType() const { return ChildCount() ? Children().back()->ValueType() : 0; }

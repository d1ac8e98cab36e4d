#include "engine/items/CExpItem.h"

#include <algorithm>

#include "engine/items/CExpression.h"

bool CExpItem::Parse(CExpSource&) { return false; }

std::string CExpItem::Text() const {
    std::string text;
    for (size_t i = 0; i < ChildCount(); ++i) text += Child(i)->Text();
    return text;
}

bool CExpItem::IsConstant() const {
    for (size_t i = 0; i < ChildCount(); ++i) {
        if (!Child(i)->IsConstant()) return false;
    }
    return true;
}

bool CExpItem::Execute(CExpContext&) { return true; }

bool CExpItem::Check(CExpSource& source) {
    for (size_t i = 0; i < ChildCount(); ++i) {
        if (!Child(i)->Check(source)) return false;
    }
    return true;
}

CExpItem* CExpItem::Lookup(std::string_view name) const {
    if (parent_ == nullptr) return nullptr;
    if (CExpItem* found = parent_->MatchChildBefore(name, this)) return found;
    return parent_->Lookup(name);
}

bool CExpItem::ExecuteChildren(CExpContext& context) {
    for (size_t i = 0; i < ChildCount(); ++i) {
        if (!Child(i)->Execute(context)) return false;
    }
    return true;
}

int NestingDepth(const CExpItem& item) {
    if (item.Kind() == EXP_EXPRESSION) return static_cast<const CExpression&>(item).Depth();
    int deepest = -1;
    for (size_t i = 0; i < item.ChildCount(); ++i) deepest = std::max(deepest, NestingDepth(*item.Child(i)));
    return deepest + 1;
}

CExpItem* ThroughParentheses(CExpItem& item) {
    CExpItem* inner = &item;
    while (inner != nullptr && (inner->Kind() == EXP_EXPRESSION || inner->Kind() == EXP_KAKKO)) {
        inner = inner->ChildCount() == 1 ? inner->Child(0) : nullptr;
    }
    return inner;
}

bool IsVariableUse(const CExpItem& item) { return item.Kind() == EXP_VARIABLE_USE || item.Kind() == EXP_ELEMENT_USE; }

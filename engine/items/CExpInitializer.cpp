#include "engine/items/CExpInitializer.h"

#include "engine/expression/ReadingRules.h"
#include "engine/items/CExpKakko.h"
#include "engine/items/CExpression.h"
#include "value/CArrayData.h"

namespace {

// Both or neither of the declared and the initial value's type are strings.
bool StringnessMatches(int declaredType, int valueType) {
    return IsStringType(static_cast<uint32_t>(declaredType)) ==
           IsStringType(static_cast<uint32_t>(valueType));
}

// True when the line was already refused as a whole, as when it nests too
// deeply; the enclosing lists then add no complaints of their own.
bool LineRefused(const CExpSource& source) {
    if (source.diags.Empty()) return false;
    const CExpDiag& last = source.diags.Last();
    return last.id == Diag::SyntaxError;
}

// initializer -> '=' …: moves past the "=" and the blanks after it, the
// item standing at the "="; false when there is none. In «a == 1» the first
// "=" begins the initializer and the second its expression.
bool TakeEqualsSign(CExpSource& source, CExpItem& item) {
    source.SkipBlanks();
    if (source.AtOperator(OP_EQ)) {
        source.ResumeAt(source.position + 1);
        item.SetPosition(source.position - 1);
    } else if (source.AtOperator(OP_ASSIGN)) {
        item.SetPosition(source.position);
        source.Advance();
    } else {
        return false;
    }
    source.SkipBlanks();
    return true;
}

}  // namespace

// ---- CExpInitializer ----

bool CExpInitializer::Parse(CExpSource& source) {
    if (!TakeEqualsSign(source, *this)) return false;
    auto* expression = source.Workspace().New<CExpression>();
    expression->SetParent(this);
    if (!expression->ParseExpression(source, true)) {
        // Missing only when nothing was said: an earlier fault on the line
        // stops the expression scan before it reads anything (the initializer
        // is unread), and one that was read and failed («w * h» with w
        // undeclared) has said why.
        if (!source.HasDiag()) source.AddDiag(source.position, Diag::InitializerMissing);
        return false;
    }
    expression_ = expression;
    return true;
}

CExpItem* CExpInitializer::Child(size_t) const { return expression_; }

bool CExpInitializer::CheckType(CExpSource& source, int declaredType) const {
    if (StringnessMatches(declaredType, expression_->ValueType())) return true;
    source.AddDiag(expression_->Position(), Diag::InitializerTypeMismatch);
    return false;
}

// ---- CExpInitList ----

bool CExpInitList::Parse(CExpSource& source) {
    source.SkipBlanks();
    if (!source.At(TokenKind::LBrace)) return false;
    source.Advance();
    SetPosition(source.position);
    // Brace lists nest in the same count as expressions, so that no input
    // can exhaust the stack.
    const NestingLevel level(source);
    if (!MayNestAt(source.depth)) {
        source.AddDiag(Position(), Diag::SyntaxError);
        source.ResumeAt(static_cast<int>(source.Line().size()));
        return true;
    }
    while (!source.AtEnd()) {
        source.SkipBlanks();
        // An item that was read and failed («{1, x}» with x undeclared) has
        // said why; only one that is not there is missing.
        const size_t faults = source.diags.All().size();
        if (!ParseItem(source) && source.diags.All().size() == faults) source.AddDiag(source.position, Diag::ListItemMissing);
        source.SkipBlanks();
        if (!source.AtOperator(OP_COMMA)) break;
        source.Advance();
    }
    source.SkipBlanks();
    if (source.At(TokenKind::RBrace)) {
        source.Advance();
    } else if (!LineRefused(source)) {
        source.AddDiag(source.position, Diag::ListMissingBrace);
    }
    return true;
}

// item -> initlist | '(' expression ')' | expression
bool CExpInitList::ParseItem(CExpSource& source) {
    auto* list = source.Workspace().New<CExpInitList>(&source.Workspace().arena);
    list->SetParent(this);
    if (list->Parse(source)) {
        items_.push_back(list);
        return true;
    }
    auto* group = source.Workspace().New<CExpKakko>();
    group->SetParent(this);
    if (group->Parse(source)) {
        items_.push_back(group);
        return true;
    }
    auto* expression = source.Workspace().New<CExpression>();
    expression->SetParent(this);
    if (expression->ParseExpression(source, true)) {
        items_.push_back(expression);
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

bool CExpInitList::CheckShape(CExpSource& source, std::span<const int32_t> dims, size_t level,
                              int elementType) const {
    if (level >= dims.size()) {
        source.AddDiag(Position(), Diag::ArrayListTooDeep);
        return false;
    }
    const size_t itemLevel = level + 1;
    for (const CExpItem* item : items_) {
        if (item->Kind() == EXP_INIT_LIST) {
            const auto& list = static_cast<const CExpInitList&>(*item);
            if (!list.CheckShape(source, dims, itemLevel, elementType)) return false;
        } else if (itemLevel < dims.size()) {
            source.AddDiag(item->Position(), Diag::ArrayListNeeded);
            return false;
        } else if (!StringnessMatches(elementType, item->ValueType())) {
            source.AddDiag(item->Position(), Diag::ArrayItemTypeMismatch);
            return false;
        }
    }
    if (ChildCount() > static_cast<size_t>(dims[level])) {
        source.AddDiag(Position(), Diag::ArrayListTooLong);
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
            if (context.notes != nullptr) [[unlikely]] NoteStore(*item, storage, index, context);
        }
    }
    return true;
}

// Tells of a value of the list that its element could not hold whole.
void CExpInitList::NoteStore(const CExpItem& item, const CArrayData& storage, std::span<const int32_t> index,
                             CExpContext& context) const {
    const CExpItem* array = Parent();
    while (array != nullptr && array->Kind() != EXP_VARARRAY) array = array->Parent();
    const std::string_view name = array != nullptr ? array->Name() : std::string_view();
    context.notes->Stored(CValueNote::Kind::Element, item.Position(), ElementName(name, index), context.value,
                          storage.GetElement(index));
}

// ---- CExpAryInitializer ----

bool CExpAryInitializer::Parse(CExpSource& source) {
    if (!TakeEqualsSign(source, *this)) return false;
    auto* list = source.Workspace().New<CExpInitList>(&source.Workspace().arena);
    list->SetParent(this);
    if (list->Parse(source)) {
        list_ = list;
    } else {
        source.AddDiag(source.position, Diag::ArrayListMissing);
    }
    return true;
}

CExpItem* CExpAryInitializer::Child(size_t) const { return list_; }

// Without a list (already reported as missing) there is nothing to check.
bool CExpAryInitializer::CheckShape(CExpSource& source, std::span<const int32_t> dims, int elementType) const {
    return list_ == nullptr || list_->CheckShape(source, dims, 0, elementType);
}

bool CExpAryInitializer::Fill(CArrayData& storage, CExpContext& context) const {
    if (list_ == nullptr) return false;
    std::vector<int32_t> index(storage.Dims().size(), 0);
    return list_->Fill(storage, index, 0, context);
}

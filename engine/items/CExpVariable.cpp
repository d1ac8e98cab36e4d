#include "engine/items/CExpVariable.h"

#include "engine/items/CExpDeclaration.h"
#include "engine/items/CExpInitializer.h"
#include "engine/items/CExpVariableUse.h"
#include "engine/lexer/Keywords.h"

namespace {

// The only child of an item, or null when it has none or several.
const CExpItem* SoleChild(const CExpItem& item) { return item.ChildCount() == 1 ? item.Child(0) : nullptr; }

}  // namespace

bool CExpVariable::Parse(CExpSource& source) {
    source.SkipBlanks();
    if (source.AtEnd()) return false;
    SetPosition(source.position);
    const size_t start = source.index;
    if (source.AtOperator(OP_BITAND)) {
        reference_ = true;
        source.Advance();
        source.SkipBlanks();
    }
    name_ = source.Name();
    if (name_.empty()) {
        source.index = start;
        source.position = Position();
        return false;
    }
    source.Advance();
    if (IsReserved(name_)) {
        source.AddDiag(source.position, Diag::VariableReservedName);
    } else if (Lookup(name_) != nullptr) {
        source.AddDiag(source.position, Diag::VariableNameInUse);
    } else {
        ParseInitializer(source);
    }
    return true;
}

// Keeps the initializer only when it suits the declarator: a reference
// needs exactly one plain variable name of its own type, any other variable
// an expression of matching string-ness.
void CExpVariable::ParseInitializer(CExpSource& source) {
    auto* initializer = source.Workspace().New<CExpInitializer>();
    initializer->SetParent(this);
    const size_t faults = source.diags.All().size();
    if (!initializer->Parse(source)) {
        // A reference whose initializer was read and failed has been told
        // why; it is not unbound for want of one.
        const bool unbound = source.diags.All().size() == faults;
        if (reference_ && !IsParameter() && unbound) source.AddDiag(source.position, Diag::ReferenceUninitialized);
        return;
    }
    if (reference_) {
        // A reference shares its target's value object, so the target must
        // be of the reference's own type ("long" is "int").
        const CExpVariableUse* target = UseIn(initializer);
        if (target != nullptr && target->ValueType() == ValueType()) {
            initializer_ = initializer;
        } else {
            source.AddDiag(source.position, Diag::BadReferenceInit);
        }
        return;
    }
    if (initializer->CheckType(source, ValueType())) initializer_ = initializer;
}

const CExpVariableUse* CExpVariable::UseIn(const CExpItem* initializer) {
    if (initializer == nullptr || initializer->Kind() != EXP_INITIALIZER) return nullptr;
    const CExpItem* expression = SoleChild(*initializer);
    if (expression == nullptr || expression->Kind() != EXP_EXPRESSION) return nullptr;
    const CExpItem* item = SoleChild(*expression);
    if (item == nullptr || item->Kind() != EXP_VARIABLE_USE) return nullptr;
    return static_cast<const CExpVariableUse*>(item);
}

bool CExpVariable::IsParameter() const {
    const CExpItem* declaration = Parent();
    return declaration != nullptr && declaration->Kind() == EXP_DECLARATION &&
           static_cast<const CExpDeclaration*>(declaration)->IsParameter();
}

CExpItem* CExpVariable::Child(size_t) const { return initializer_; }

std::string CExpVariable::Text() const { return (reference_ ? "&" : "") + name_ + CExpItem::Text(); }

void CExpVariable::DropLineItems() {
    initializer_ = nullptr;
    SetParent(nullptr);
}

bool CExpVariable::Execute(CExpContext& context) {
    return reference_ ? ExecuteReference(context) : ExecuteOrdinary(context);
}

// A reference takes over the target's value object itself; from now on both
// names act on the same object.
bool CExpVariable::ExecuteReference(CExpContext& context) {
    const CExpVariableUse* target = UseIn(initializer_);
    target_ = target != nullptr ? target->Variable()->Value() : nullptr;
    if (target_ != nullptr) return true;
    context.AddDiag(Position(), Diag::ReferenceBindFailed);
    return false;
}

// Every execution starts again from the type's zero, in place, so references
// sharing the value object stay bound.
bool CExpVariable::ExecuteOrdinary(CExpContext& context) {
    value_ = CValueData::ZeroOf(static_cast<uint32_t>(ValueType()));
    target_ = &value_;
    if (initializer_ == nullptr) return true;
    if (!initializer_->Execute(context)) return false;
    value_.Store(context.value);
    if (context.notes != nullptr) [[unlikely]] {
        context.notes->Stored(CValueNote::Kind::Declared, Position(), name_, context.value, value_);
    }
    return true;
}

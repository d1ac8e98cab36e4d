#include "engine/CExpVariable.h"

#include "engine/CExpInitializer.h"
#include "engine/CExpReference.h"
#include "engine/CExpType.h"
#include "engine/ParseHelpers.h"

namespace {

constexpr int kReservedName = 8;        // "変数名に予約語を使用しています"
constexpr int kNameInUse = 9;           // "この名称は既に使用されています"
constexpr int kReferenceUninit = 10;    // "参照は初期化が必要です"
constexpr int kBadReferenceInit = 11;   // "参照の初期化が誤っています"
constexpr int kReferenceFailed = 102;   // "参照の初期化に失敗しました"

// The only child of an item, or null when it has none or several.
const CExpItem* SoleChild(const CExpItem& item) {
    return item.ChildCount() == 1 ? item.Child(0) : nullptr;
}

}  // namespace

bool CExpVariable::Parse(CExpSource& source, const std::string& text) {
    SkipBlanks(source, text);
    if (AtEnd(source, text)) return false;
    SetPosition(source.position);
    if (CurrentChar(source, text) == '&') {
        reference_ = true;
        ++source.position;
        SkipBlanks(source, text);
    }
    name_ = ReadIdentifier(source, text);
    if (name_.empty()) {
        source.position = Position();
        return false;
    }
    source.position += static_cast<int>(name_.size());
    if (IsReserved(name_)) {
        source.AddDiag(source.position, EXP_VARIABLE, kReservedName);
    } else if (Lookup(name_) != nullptr) {
        source.AddDiag(source.position, EXP_VARIABLE, kNameInUse);
    } else {
        ParseInitializer(source, text);
    }
    return true;
}

// Keeps the initializer only when it suits the declarator: a reference
// needs exactly one plain variable name of its own type, any other variable
// an expression of matching string-ness.
void CExpVariable::ParseInitializer(CExpSource& source, const std::string& text) {
    auto initializer = MakeCandidate<CExpInitializer>(this);
    if (!initializer->Parse(source, text)) {
        if (reference_ && !IsParameter()) source.AddDiag(source.position, EXP_VARIABLE, kReferenceUninit);
        return;
    }
    if (reference_) {
        // A reference shares its target's value object, so the target must
        // be of the reference's own type ("long" is "int").
        const CExpReference* target = ReferenceIn(initializer.get());
        if (target != nullptr && target->ValueType() == ValueType()) {
            AppendChild(std::move(initializer));
        } else {
            source.AddDiag(source.position, EXP_VARIABLE, kBadReferenceInit);
        }
        return;
    }
    if (initializer->CheckType(source, ValueType())) {
        initializer->KeepLiteralOnly();
        AppendChild(std::move(initializer));
    }
}

const CExpReference* CExpVariable::ReferenceIn(const CExpItem* initializer) {
    if (initializer == nullptr || initializer->Kind() != EXP_INITIALIZER) return nullptr;
    const CExpItem* expression = SoleChild(*initializer);
    if (expression == nullptr || expression->Kind() != EXP_EXPRESSION) return nullptr;
    const CExpItem* item = SoleChild(*expression);
    if (item == nullptr || item->Kind() != EXP_REFERENCE) return nullptr;
    return static_cast<const CExpReference*>(item);
}

const CExpReference* CExpVariable::BoundTarget() const { return ReferenceIn(SoleChild(*this)); }

bool CExpVariable::IsParameter() const {
    const CExpItem* declaration = Parent();
    return declaration != nullptr && declaration->Kind() == EXP_TYPE &&
           static_cast<const CExpType*>(declaration)->IsParameter();
}

CExpItem* CExpVariable::Lookup(const std::string& name) const {
    const CExpItem* declaration = Parent();
    if (declaration == nullptr || declaration->Kind() != EXP_TYPE) return CExpItem::Lookup(name);
    return static_cast<const CExpType*>(declaration)->LookupForDeclarator(name);
}

std::string CExpVariable::Text() const {
    return (reference_ ? "&" : "") + name_ + CExpItem::Text();
}

bool CExpVariable::Execute(CExpContext& context) {
    return reference_ ? ExecuteReference(context) : ExecuteOrdinary(context);
}

// A reference takes over the target's value object itself; from now on both
// names act on the same object.
bool CExpVariable::ExecuteReference(CExpContext& context) {
    const CExpReference* target = BoundTarget();
    if (target == nullptr || target->Variable() == nullptr || !target->Variable()->Value()) {
        context.AddDiag(Position(), EXP_VARIABLE, kReferenceFailed);
        return false;
    }
    value_ = target->Variable()->Value();
    return true;
}

// Every execution starts again from the type's zero. An existing object is
// reset in place rather than replaced, so references sharing it stay bound.
bool CExpVariable::ExecuteOrdinary(CExpContext& context) {
    const CValueData zero = CValueData::ZeroOf(static_cast<uint32_t>(ValueType()));
    if (value_) {
        value_->Assign(zero);
    } else {
        value_ = std::make_shared<CValueData>(zero);
    }
    for (const auto& initializer : Children()) {
        if (!initializer->Execute(context)) return false;
        value_->Store(context.value);
    }
    return true;
}

int CExpVariable::ValueType() const { return Parent() ? Parent()->ValueType() : 0; }

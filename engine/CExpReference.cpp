#include "engine/CExpReference.h"

#include "engine/CExpVariable.h"
#include "engine/ParseHelpers.h"

namespace {

constexpr int kNoEntity = 103;   // "*実体の無い変数が参照されました"

}  // namespace

// reference -> identifier   (naming a scalar variable)
bool CExpReference::Parse(CExpSource& source, const std::string& text) {
    CExpItem* found = ParseDeclaredName(source, text, EXP_VARIABLE);
    if (found == nullptr) return false;
    variable_ = static_cast<CExpVariable*>(found);
    return true;
}

std::string CExpReference::Text() const { return variable_ ? variable_->Name() : std::string(); }

int CExpReference::ValueType() const { return variable_ ? variable_->ValueType() : 0; }

CValueData* CExpReference::Target(CExpContext& context) const {
    if (variable_ != nullptr && variable_->Value()) return variable_->Value().get();
    context.AddDiag(Position(), EXP_REFERENCE, kNoEntity);
    return nullptr;
}

bool CExpReference::Execute(CExpContext& context) {
    const CValueData* target = Target(context);
    if (target == nullptr) return false;
    context.value.Assign(*target);
    return true;
}

bool CExpReference::Write(const CValueData& value, CExpContext& context) {
    CValueData* target = Target(context);
    if (target == nullptr) return false;
    target->Store(value);
    context.value.Assign(*target);
    return true;
}

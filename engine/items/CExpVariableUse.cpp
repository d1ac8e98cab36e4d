#include "engine/items/CExpVariableUse.h"

#include "engine/items/CExpVariable.h"

std::string CExpVariableUse::Text() const { return std::string(variable_->Name()); }

int CExpVariableUse::ValueType() const { return variable_->ValueType(); }

CValueData* CExpVariableUse::Target(CExpContext& context) const {
    if (CValueData* value = variable_->Value()) return value;
    context.AddDiag(Position(), Diag::VariableNoEntity);
    return nullptr;
}

bool CExpVariableUse::Execute(CExpContext& context) {
    const CValueData* target = Target(context);
    if (target == nullptr) return false;
    context.value.Assign(*target);
    return true;
}

bool CExpVariableUse::Write(const CValueData& value, CExpContext& context) {
    CValueData* target = Target(context);
    if (target == nullptr) return false;
    target->Store(value);
    if (context.notes != nullptr) [[unlikely]] {
        context.notes->Stored(CValueNote::Kind::Assigned, Position(), variable_->Name(), value, *target);
    }
    context.value.Assign(*target);
    return true;
}

#include "engine/CExpRefarray.h"

#include "engine/CExpArray.h"
#include "engine/CExpVararray.h"
#include "engine/ParseHelpers.h"

namespace {

constexpr int kBadReference = 101;   // "誤った配列参照が行われました"
constexpr int kNoEntity = 103;       // "*実体の無い変数が参照されました"

// One subscript per dimension, each inside it. Compared as unsigned, so a
// negative subscript is out of range too.
bool InBounds(const std::vector<int32_t>& subscripts, const std::vector<int32_t>& dims) {
    if (subscripts.size() != dims.size()) return false;
    for (size_t i = 0; i < dims.size(); ++i) {
        if (static_cast<uint32_t>(subscripts[i]) >= static_cast<uint32_t>(dims[i])) return false;
    }
    return true;
}

}  // namespace

bool CExpRefarray::Parse(CExpSource& source, const std::string& text) {
    CExpItem* found = ParseDeclaredName(source, text, EXP_VARARRAY);
    if (found == nullptr) return false;
    array_ = static_cast<CExpVararray*>(found);
    auto subscripts = MakeCandidate<CExpArray>(this);
    if (!subscripts->Parse(source, text)) {
        source.position = Position();
        return false;
    }
    AppendChild(std::move(subscripts));
    return true;
}

std::string CExpRefarray::Text() const {
    return (array_ ? array_->Name() : std::string()) + CExpItem::Text();
}

int CExpRefarray::ValueType() const { return array_ ? array_->ValueType() : 0; }

CExpArray* CExpRefarray::SubscriptList() const {
    for (const auto& child : Children()) {
        if (child->Kind() == EXP_ARRAY) return static_cast<CExpArray*>(child.get());
    }
    return nullptr;
}

// An array whose declaration never built its storage has no elements at
// all, which counts as a variable without an entity.
CArrayData* CExpRefarray::Locate(CExpContext& evaluation, CExpContext& report) {
    if (array_ == nullptr || array_->Storage() == nullptr) {
        report.AddDiag(Position(), EXP_REFARRAY, kNoEntity);
        return nullptr;
    }
    CExpArray* subscripts = SubscriptList();
    if (array_->SizeList() == nullptr || subscripts == nullptr) {
        report.AddDiag(Position(), EXP_REFARRAY, kBadReference);
        return nullptr;
    }
    if (!subscripts->Execute(evaluation)) {
        if (&evaluation != &report) report.diags.AddAll(evaluation.diags);
        return nullptr;
    }
    CArrayData* storage = array_->Storage();
    if (!InBounds(subscripts->Values(), storage->Dims())) {
        report.AddDiag(Position(), EXP_REFARRAY, kBadReference);
        return nullptr;
    }
    return storage;
}

bool CExpRefarray::Execute(CExpContext& context) {
    const CArrayData* storage = Locate(context, context);
    if (storage == nullptr) return false;
    context.value.Assign(storage->GetElement(SubscriptList()->Values()));
    return true;
}

bool CExpRefarray::Write(const CValueData& value, CExpContext& context) {
    CExpContext evaluation;
    CArrayData* storage = Locate(evaluation, context);
    if (storage == nullptr) return false;
    const std::vector<int32_t>& subscripts = SubscriptList()->Values();
    storage->SetElement(subscripts, value);
    context.value.Assign(storage->GetElement(subscripts));
    return true;
}

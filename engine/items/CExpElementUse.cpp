#include "engine/items/CExpElementUse.h"

#include "engine/ValueNotes.h"
#include "engine/items/CExpBracketList.h"
#include "engine/items/CExpVararray.h"
#include "value/CArrayData.h"

namespace {

// One subscript per dimension, each inside it. Compared as unsigned, so a
// negative subscript is out of range too.
bool InBounds(std::span<const int32_t> subscripts, const std::vector<int32_t>& dims) {
    if (subscripts.size() != dims.size()) return false;
    for (size_t i = 0; i < dims.size(); ++i) {
        if (static_cast<uint32_t>(subscripts[i]) >= static_cast<uint32_t>(dims[i])) return false;
    }
    return true;
}

}  // namespace

CExpElementUse::CExpElementUse(CExpVararray* array, CExpBracketList* subscripts)
    : CExpItem(EXP_ELEMENT_USE), array_(array), subscripts_(subscripts) {
    subscripts_->SetParent(this);
}

// A name not followed by a bracket list is no element: the cursor goes back
// to the name.
bool CExpElementUse::Parse(CExpSource& source) {
    SetPosition(source.position);
    const size_t name = source.index;
    source.Advance();
    auto* subscripts = source.Workspace().New<CExpBracketList>(&source.Workspace().arena);
    subscripts->SetParent(this);
    if (!subscripts->Parse(source)) {
        source.index = name;
        source.position = Position();
        return false;
    }
    subscripts_ = subscripts;
    return true;
}

CExpItem* CExpElementUse::Child(size_t) const { return subscripts_; }

std::string CExpElementUse::Text() const { return std::string(array_->Name()) + CExpItem::Text(); }

int CExpElementUse::ValueType() const { return array_->ValueType(); }

// An array whose declaration never built its storage has no elements at
// all, which counts as a variable without an entity.
CArrayData* CExpElementUse::Locate(CExpContext& context) {
    CArrayData* storage = array_->Storage();
    if (storage == nullptr) {
        context.AddDiag(Position(), Diag::ElementNoEntity);
        return nullptr;
    }
    if (subscripts_ == nullptr) {
        context.AddDiag(Position(), Diag::ElementOutOfRange);
        return nullptr;
    }
    if (!subscripts_->Execute(context)) return nullptr;
    if (!InBounds(subscripts_->Values(), storage->Dims())) {
        context.AddDiag(Position(), Diag::ElementOutOfRange);
        return nullptr;
    }
    return storage;
}

bool CExpElementUse::Execute(CExpContext& context) {
    const CArrayData* storage = Locate(context);
    if (storage == nullptr) return false;
    context.value = storage->GetElement(subscripts_->Values());
    return true;
}

bool CExpElementUse::Write(const CValueData& value, CExpContext& context) {
    CArrayData* storage = Locate(context);
    if (storage == nullptr) return false;
    const std::span<const int32_t> subscripts = subscripts_->Values();
    storage->SetElement(subscripts, value);
    context.value = storage->GetElement(subscripts);
    if (context.notes != nullptr) [[unlikely]] {
        context.notes->Stored(CValueNote::Kind::Element, Position(), ElementName(array_->Name(), subscripts), value,
                              context.value);
    }
    return true;
}

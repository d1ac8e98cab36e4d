#include "engine/items/CExpVararray.h"

#include <vector>

#include "engine/items/CExpBracketList.h"
#include "engine/items/CExpInitializer.h"
#include "engine/lexer/Keywords.h"

bool CExpVararray::Parse(CExpSource& source) {
    source.SkipBlanks();
    if (source.AtEnd()) return false;
    SetPosition(source.position);
    name_ = source.Name();
    if (name_.empty()) return false;
    const size_t name = source.index;
    source.Advance();
    auto* sizes = source.Workspace().New<CExpBracketList>(&source.Workspace().arena);
    sizes->SetParent(this);
    if (!sizes->Parse(source)) {
        // No bracket list: not an array; the scalar declarator reads the name.
        source.index = name;
        source.position = Position();
        return false;
    }
    if (!KeepSizes(source, *sizes)) return false;
    if (IsReserved(name_)) {
        source.AddDiag(source.position, Diag::ArrayReservedName);
        return false;
    }
    if (Lookup(name_) != nullptr) {
        source.AddDiag(source.position, Diag::ArrayNameInUse);
        return false;
    }
    return ParseInitializer(source);
}

// Keeps the sizes when they are usable. A size that is not a constant
// integer is reported and leaves the array without sizes, which the
// diagnostic already makes fail; sizes that evaluate to no array at all
// refuse the declarator.
bool CExpVararray::KeepSizes(CExpSource& source, CExpBracketList& sizes) {
    if (!SizesAreConstantIntegers(source, sizes)) return true;
    if (!SizesFit(source, sizes)) return false;
    sizes_ = &sizes;
    return true;
}

bool CExpVararray::SizesAreConstantIntegers(CExpSource& source, const CExpBracketList& sizes) const {
    for (size_t i = 0; i < sizes.ChildCount(); ++i) {
        const CExpItem* size = sizes.Child(i);
        if (!IsIntegerType(static_cast<uint32_t>(size->ValueType()))) {
            source.AddDiag(size->Position(), Diag::BadArrayInitializer);
            return false;
        }
        if (!size->IsConstant()) {
            source.AddDiag(size->Position(), Diag::ArraySizeNotConstant);
            return false;
        }
    }
    return true;
}

// Evaluates the sizes now, so that a wrong size is reported while the line
// is parsed. The element count is computed without overflow.
bool CExpVararray::SizesFit(CExpSource& source, CExpBracketList& sizes) const {
    CExpContext scratch;
    if (!sizes.Execute(scratch)) {
        source.AddDiag(sizes.Position(), Diag::BadArraySizes);
        return false;
    }
    for (int32_t size : sizes.Values()) {
        if (size <= 0) {
            source.AddDiag(sizes.Position(), Diag::ArraySizeNotPositive);
            return false;
        }
    }
    if (sizes.Product() > kMaxElements) {
        source.AddDiag(sizes.Position(), Diag::ArrayTooLarge);
        return false;
    }
    return true;
}

bool CExpVararray::ParseInitializer(CExpSource& source) {
    auto* initializer = source.Workspace().New<CExpAryInitializer>();
    initializer->SetParent(this);
    if (!initializer->Parse(source)) return true;
    const std::span<const int32_t> dims = sizes_ != nullptr ? sizes_->Values() : std::span<const int32_t>();
    if (!initializer->CheckShape(source, dims, ValueType())) {
        source.AddDiag(source.position, Diag::BadArrayInitializer);
        return false;
    }
    initializer_ = initializer;
    return true;
}

size_t CExpVararray::ChildCount() const { return (sizes_ != nullptr ? 1 : 0) + (initializer_ != nullptr ? 1 : 0); }

CExpItem* CExpVararray::Child(size_t i) const {
    if (sizes_ != nullptr && i == 0) return sizes_;
    return initializer_;
}

std::string CExpVararray::Text() const { return name_ + CExpItem::Text(); }

void CExpVararray::DropLineItems() {
    sizes_ = nullptr;
    initializer_ = nullptr;
    SetParent(nullptr);
}

bool CExpVararray::Execute(CExpContext& context) {
    storage_.reset();
    if (sizes_ == nullptr || !sizes_->Execute(context)) return false;
    const std::span<const int32_t> dims = sizes_->Values();
    storage_ = std::make_unique<CArrayData>(static_cast<uint32_t>(ValueType()),
                                            std::vector<int32_t>(dims.begin(), dims.end()));
    return initializer_ == nullptr || initializer_->Fill(*storage_, context);
}

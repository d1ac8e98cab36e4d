#include "engine/CExpVararray.h"

#include "engine/CExpArray.h"
#include "engine/CExpInitializer.h"
#include "engine/CExpType.h"
#include "engine/ParseHelpers.h"

namespace {

constexpr int kReservedName = 8;     // "変数名に予約語を使用しています"
constexpr int kNameInUse = 9;        // "この名称は既に使用されています"
constexpr int kBadInitializer = 10;  // "初期化式が正しくありません"
constexpr int kNotConstant = 11;     // no message of its own
constexpr int kBadSizes = 102;       // "配列指定が誤っています"
constexpr int kSizeNotPositive = 103;   // "配列のサイズが０以下です"
constexpr int kTooManyElements = 104;   // "配列全体のサイズが大きすぎます"

}  // namespace

bool CExpVararray::Parse(CExpSource& source, const std::string& text) {
    SkipBlanks(source, text);
    if (AtEnd(source, text)) return false;
    SetPosition(source.position);
    name_ = ReadIdentifier(source, text);
    if (name_.empty()) return false;
    source.position += static_cast<int>(name_.size());
    if (!ParseSizes(source, text)) return false;
    if (IsReserved(name_)) {
        source.AddDiag(source.position, EXP_VARARRAY, kReservedName);
        return false;
    }
    if (Lookup(name_) != nullptr) {
        source.AddDiag(source.position, EXP_VARARRAY, kNameInUse);
        return false;
    }
    return ParseInitializer(source, text);
}

// Parses the bracket list and keeps it when its sizes are usable. False when
// there is no bracket list at all or its sizes cannot be evaluated; a size
// that is not a constant integer is reported and leaves the array without
// sizes, which its declaration's diagnostics already make fail.
bool CExpVararray::ParseSizes(CExpSource& source, const std::string& text) {
    auto sizes = MakeCandidate<CExpArray>(this);
    if (!sizes->Parse(source, text)) {
        source.position = Position();
        return false;
    }
    if (!SizesAreConstantIntegers(source, *sizes)) return true;
    if (!SizesFit(source, *sizes)) return false;
    AppendChild(std::move(sizes));
    return true;
}

bool CExpVararray::SizesAreConstantIntegers(CExpSource& source, const CExpArray& sizes) const {
    for (const auto& size : sizes.Children()) {
        if (!IsIntegerType(static_cast<uint32_t>(size->ValueType()))) {
            source.AddDiag(size->Position(), EXP_VARARRAY, kBadInitializer);
            return false;
        }
        if (!size->IsConstant()) {
            source.AddDiag(size->Position(), EXP_VARARRAY, kNotConstant);
            return false;
        }
    }
    return true;
}

// Evaluates the sizes now, so that a wrong size is reported while the line
// is parsed. The element count is computed without overflow.
bool CExpVararray::SizesFit(CExpSource& source, CExpArray& sizes) const {
    CExpContext scratch;
    if (!sizes.Execute(scratch)) {
        source.AddDiag(sizes.Position(), EXP_VARARRAY, kBadSizes);
        return false;
    }
    for (int32_t size : sizes.Values()) {
        if (size <= 0) {
            source.AddDiag(sizes.Position(), EXP_VARARRAY, kSizeNotPositive);
            return false;
        }
    }
    if (sizes.Product() > kMaxElements) {
        source.AddDiag(sizes.Position(), EXP_VARARRAY, kTooManyElements);
        return false;
    }
    return true;
}

bool CExpVararray::ParseInitializer(CExpSource& source, const std::string& text) {
    auto initializer = MakeCandidate<CExpAryInitializer>(this);
    if (!initializer->Parse(source, text)) return true;
    const CExpArray* sizes = SizeList();
    const std::vector<int32_t> dims = sizes ? sizes->Values() : std::vector<int32_t>{};
    if (!initializer->CheckShape(source, dims, ValueType())) {
        source.AddDiag(source.position, EXP_VARARRAY, kBadInitializer);
        return false;
    }
    AppendChild(std::move(initializer));
    return true;
}

CExpItem* CExpVararray::Lookup(const std::string& name) const {
    const CExpItem* declaration = Parent();
    if (declaration == nullptr || declaration->Kind() != EXP_TYPE) return CExpItem::Lookup(name);
    return static_cast<const CExpType*>(declaration)->LookupForDeclarator(name);
}

std::string CExpVararray::Text() const { return name_ + CExpItem::Text(); }

int CExpVararray::ValueType() const { return Parent() ? Parent()->ValueType() : 0; }

CExpArray* CExpVararray::SizeList() const {
    for (const auto& child : Children()) {
        if (child->Kind() == EXP_ARRAY) return static_cast<CExpArray*>(child.get());
    }
    return nullptr;
}

CExpAryInitializer* CExpVararray::Initializer() const {
    for (const auto& child : Children()) {
        if (child->Kind() == EXP_ARY_INITIALIZER) return static_cast<CExpAryInitializer*>(child.get());
    }
    return nullptr;
}

bool CExpVararray::Execute(CExpContext& context) {
    storage_.reset();
    CExpArray* sizes = SizeList();
    if (sizes == nullptr || !sizes->Execute(context)) return false;
    storage_ = std::make_unique<CArrayData>(static_cast<uint32_t>(ValueType()), sizes->Values());
    CExpAryInitializer* initializer = Initializer();
    return initializer == nullptr || initializer->Fill(*storage_, context);
}

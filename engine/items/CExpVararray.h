#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/items/CExpItem.h"
#include "value/CArrayData.h"

class CExpBracketList;
class CExpAryInitializer;

// One declarator of an array variable, «m[2][3] = {…}», and the array
// itself for the rest of the session. Owns the storage, which its
// declaration creates when it runs.
class CExpVararray final : public CExpItem {
public:
    // The most elements one array may have.
    static constexpr uint64_t kMaxElements = 65536;

    explicit CExpVararray(int type) : CExpItem(EXP_VARARRAY), type_(type) {}

    // arraydeclarator -> identifier bracketlist ['=' initlist]
    bool Parse(CExpSource& source) override;
    bool DefinesName() const override { return true; }
    std::string_view Name() const override { return name_; }
    std::string Text() const override;
    // Declarators are looked up from only while they are parsed, before the
    // declaration adopts them; the declaration answers for its own names.
    CExpItem* Lookup(std::string_view name) const override;
    // Builds the storage from the sizes and runs the initializer.
    bool Execute(CExpContext& context) override;
    // The element type: the declaration's type.
    int ValueType() const override { return type_; }
    size_t ChildCount() const override;
    CExpItem* Child(size_t i) const override;

    // Null until the declaration has executed.
    CArrayData* Storage() const { return storage_.get(); }
    // Forgets the items of the declaring line, which goes; the array stays.
    void DropLineItems();

private:
    bool KeepSizes(CExpSource& source, CExpBracketList& sizes);
    bool SizesAreConstantIntegers(CExpSource& source, const CExpBracketList& sizes) const;
    bool SizesFit(CExpSource& source, CExpBracketList& sizes) const;
    bool ParseInitializer(CExpSource& source);

    std::string name_;
    std::unique_ptr<CArrayData> storage_;
    CExpBracketList* sizes_ = nullptr;
    CExpAryInitializer* initializer_ = nullptr;
    int type_;
};

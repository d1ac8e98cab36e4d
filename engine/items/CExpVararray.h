#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/items/CExpDeclarator.h"
#include "value/CArrayData.h"

class CExpBracketList;
class CExpAryInitializer;

// One declarator of an array variable, «m[2][3] = {…}», and the array
// itself for the rest of the session. Owns the storage, which its
// declaration creates when it runs.
class CExpVararray final : public CExpDeclarator {
public:
    // The most elements one array may have.
    static constexpr uint64_t kMaxElements = 65536;

    explicit CExpVararray(int type) : CExpDeclarator(EXP_VARARRAY, type) {}

    // arraydeclarator -> identifier bracketlist ['=' initlist]
    bool Parse(CExpSource& source) override;
    std::string Text() const override;
    // Builds the storage from the sizes and runs the initializer.
    bool Execute(CExpContext& context) override;
    size_t ChildCount() const override;
    CExpItem* Child(size_t i) const override;

    // Null until the declaration has executed.
    CArrayData* Storage() const { return storage_.get(); }
    void DropLineItems() override;

private:
    bool KeepSizes(CExpSource& source, CExpBracketList& sizes);
    bool SizesAreConstantIntegers(CExpSource& source, const CExpBracketList& sizes) const;
    bool SizesFit(CExpSource& source, CExpBracketList& sizes) const;
    bool ParseInitializer(CExpSource& source);

    std::unique_ptr<CArrayData> storage_;
    CExpBracketList* sizes_ = nullptr;
    CExpAryInitializer* initializer_ = nullptr;
};

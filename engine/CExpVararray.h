#pragma once

#include <cstdint>
#include <memory>

#include "engine/CExpItem.h"
#include "value/CArrayData.h"

class CExpArray;
class CExpAryInitializer;

// One declarator of an array variable, «m[2][3] = {…}». Owns the storage,
// re-created at every execution of its declaration.
class CExpVararray final : public CExpItem {
public:
    // The most elements one array may have.
    static constexpr uint64_t kMaxElements = 65536;

    CExpVararray() : CExpItem(EXP_VARARRAY) {}

    // arraydeclarator -> identifier bracketlist ['=' initlist]
    bool Parse(CExpSource& source, const std::string& text) override;
    bool DefinesName() const override { return true; }
    std::string Name() const override { return name_; }
    std::string Text() const override;
    // Declarators are looked up from only while they are parsed, before the
    // declaration adopts them; the declaration answers for its own names.
    CExpItem* Lookup(const std::string& name) const override;
    // Builds the storage from the sizes and runs the initializer.
    bool Execute(CExpContext& context) override;
    // The element type: the declaration's type.
    int ValueType() const override;

    // The sizes; null when the declarator has none.
    CExpArray* SizeList() const;
    // Null until the declaration has executed.
    CArrayData* Storage() const { return storage_.get(); }

private:
    bool ParseSizes(CExpSource& source, const std::string& text);
    bool SizesAreConstantIntegers(CExpSource& source, const CExpArray& sizes) const;
    bool SizesFit(CExpSource& source, CExpArray& sizes) const;
    bool ParseInitializer(CExpSource& source, const std::string& text);
    CExpAryInitializer* Initializer() const;

    std::unique_ptr<CArrayData> storage_;
    std::string name_;
};

#pragma once

#include <memory>

#include "engine/CExpItem.h"
#include "value/CArrayData.h"

class CExpArray;

// One declarator of an array variable, «m[2][3] = {…}». Owns the storage,
// re-created at every execution of its declaration.
class CExpVararray final : public CExpItem {
public:
    CExpVararray() : CExpItem(EXP_VARARRAY) {}

    bool Parse(CExpSource& source, const std::string& text) override;
    bool DefinesName() const override { return true; }
    std::string Name() const override { return name_; }
    std::string Text() const override;
    bool Execute(CExpContext& context) override;
    int ValueType() const override;
    CExpItem* MatchName(const std::string& name) override;

    CExpArray* SizeList() const;
    CArrayData* Storage() const { return storage_.get(); }

private:
    std::unique_ptr<CArrayData> storage_;
    std::string name_;
};

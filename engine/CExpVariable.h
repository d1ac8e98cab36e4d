#pragma once

#include <memory>

#include "engine/CExpItem.h"

// One declarator of a scalar variable («a = 1» or «&r = a» in a declaration).
// Its storage is shared by ownership with reference variables bound to it, so
// no value object can go away while a name still refers to it.
class CExpVariable final : public CExpItem {
public:
    CExpVariable() : CExpItem(EXP_VARIABLE) {}

    bool Parse(CExpSource& source, const std::string& text) override;
    bool DefinesName() const override { return true; }
    std::string Name() const override { return name_; }
    std::string Text() const override;
    bool Execute(CExpContext& context) override;
    int ValueType() const override;
    CExpItem* MatchName(const std::string& name) override;

    bool IsReference() const { return reference_; }
    // The current value object; null before the first execution.
    const std::shared_ptr<CValueData>& Value() const { return value_; }

private:
    std::shared_ptr<CValueData> value_;
    std::string name_;
    bool reference_ = false;
};

#include "engine/items/CExpDeclarator.h"

#include "engine/items/CExpDeclaration.h"

CExpItem* CExpDeclarator::Lookup(std::string_view name) const {
    const CExpItem* declaration = Parent();
    if (declaration == nullptr || declaration->Kind() != EXP_DECLARATION) return CExpItem::Lookup(name);
    return static_cast<const CExpDeclaration*>(declaration)->LookupForDeclarator(name);
}

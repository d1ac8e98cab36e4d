#include "value/CTextError.h"

#include <string>

CTextError CTextError::At(const char* unit, int site) {
    return CTextError("*kestrak error : " + std::string(unit) + "(" + std::to_string(site) + ")");
}

void RaiseValueError(int site) { throw CTextError::At("ival", site); }

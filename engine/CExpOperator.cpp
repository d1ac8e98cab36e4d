#include "engine/CExpOperator.h"

bool CExpOperator::Parse(CExpSource&, const std::string&) { return false; }  // TODO(operators)
bool CExpOperator::Execute(CExpContext&) { return false; }  // TODO(operators)
bool CExpOperator::Check(CExpSource&) { return false; }  // TODO(operators)
int CExpOperator::ValueType() const { return 0; }  // TODO(operators)

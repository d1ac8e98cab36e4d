#include "engine/OperatorTable.h"

const OperatorDef* MatchOperator(const char*, size_t) { return nullptr; }  // TODO(operators)
bool FindOperator(int, OperatorDef&) { return false; }  // TODO(operators)

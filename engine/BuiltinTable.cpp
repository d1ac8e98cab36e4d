#include "engine/BuiltinTable.h"

const std::vector<BuiltinRow>& BuiltinTable() {
    static const std::vector<BuiltinRow> rows;  // TODO(functions)
    return rows;
}

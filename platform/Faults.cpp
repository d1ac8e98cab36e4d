#include "platform/Faults.h"

#include <cstdio>

std::string CSEException::Text() const {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "例外(%08x) flags(%08x) address(%p)", code_, flags_, address_);
    return buffer;  // TODO(frame): the fault message table
}

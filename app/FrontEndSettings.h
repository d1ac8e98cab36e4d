#pragma once

#include "value/CValueData.h"

// The settings the prompt loop and the console commands share for a run.
struct FrontEndSettings {
    bool silent = false;
    // The "> " prompt, unless silent; off for script files.
    bool prompt = true;
    // The radix integer results and "#lv" values are shown in: 10, 8, 16 or 2.
    int radix = 10;
    // Significant digits of floating results and "#lv" values ("#form N").
    int floatDigits = CValueData::kDefaultDigits;
};

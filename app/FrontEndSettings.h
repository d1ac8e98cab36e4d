#pragma once

#include "value/CValueData.h"

// ORDER COMMAND IDS: the radix modes are the ids of the radix commands.
enum RadixMode : int {
    RADIX_DEC = 5,
    RADIX_OCT = 6,
    RADIX_HEX = 7,
    RADIX_BIN = 8,
};

// The settings the prompt loop and the console commands share for a run.
struct FrontEndSettings {
    bool silent = false;
    // The "> " prompt, unless silent; off for script files.
    bool prompt = true;
    int radixMode = RADIX_DEC;
    // Significant digits of floating results and "#lv" values ("#form N").
    int floatDigits = CValueData::kDefaultDigits;
};

// The radix a value is shown in: the prompt loop's results and "#lv" alike.
inline int RadixOf(int radixMode) {
    switch (radixMode) {
    case RADIX_OCT: return 8;
    case RADIX_HEX: return 16;
    case RADIX_BIN: return 2;
    default: return 10;
    }
}

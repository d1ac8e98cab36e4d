#pragma once

#include <gtest/gtest.h>

#include <string>

#include "value/CTextError.h"

// Runs an operation that must raise the value model's text error from the
// given site, and checks the exact text the prompt loop will print.
template <typename Operation>
::testing::AssertionResult RaisesAt(int site, Operation operation) {
    const std::string expected = "*kestrak error : ival(" + std::to_string(site) + ")";
    try {
        operation();
    } catch (const CTextError& error) {
        if (error.Text() == expected) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "raised \"" << error.Text() << "\", expected \"" << expected << "\"";
    }
    return ::testing::AssertionFailure() << "nothing raised, expected \"" << expected << "\"";
}

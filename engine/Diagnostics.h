#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Every diagnostic the engine records, by name. A diagnostic is shown to the
// user as the pair (major, minor): the major code is the kind of the item
// that raises it (1 for the line as a whole, 0 for a generic execution
// fault), the minor code the problem; minor codes below 100 are raised
// while parsing, 100 and above while executing.
//
// ORDER DIAG: one row of the table in Diagnostics.cpp per name, in this
// order (a static_assert there keeps the two in step).
enum class Diag : uint8_t {
    SyntaxError,               // 1.1
    UndefinedName,             // 1.2
    UnclosedComment,           // 2.1
    BadNumber,                 // 4.1
    BadFraction,               // 5.5
    CharEmpty,                 // 6.1
    CharTruncated,             // 6.2
    CharUnclosed,              // 6.3
    CharForbidden,             // 6.4
    StringUnclosed,            // 7.1
    StringForbidden,           // 7.2
    StringBadEscape,           // 7.3
    FunctionNameInUse,         // 9.1
    FunctionMissingParen,      // 9.2
    ParameterNeedsType,        // 9.3
    BodyMissing,               // 9.4
    VariadicNotLast,           // 9.6
    ArrayParameter,            // 9.99
    CallNoArguments,           // 10.1
    CallMissingParen,          // 10.2
    CallTooManyArguments,      // 10.3
    ArgumentOmitted,           // 10.4
    ArgumentNotVariable,       // 10.5
    ArgumentTypeMismatch,      // 10.6
    OperandTypeMismatch,       // 11.6
    OperandNotVariable,        // 11.7
    GroupEmpty,                // 12.1
    GroupMissingParen,         // 12.2
    BadSubscript,              // 15.1
    MissingBracket,            // 15.2
    MissingOperand,            // 13.1
    MissingOperator,           // 13.2
    MissingIdentifier,         // 14.1
    VariableReservedName,      // 16.8
    VariableNameInUse,         // 16.9
    ReferenceUninitialized,    // 16.10
    BadReferenceInit,          // 16.11
    ReferenceBindFailed,       // 16.102
    ArrayReservedName,         // 17.8
    ArrayNameInUse,            // 17.9
    BadArrayInitializer,       // 17.10
    ArraySizeNotConstant,      // 17.11, which has no message of its own
    BadArraySizes,             // 17.102
    ArraySizeNotPositive,      // 17.103
    ArrayTooLarge,             // 17.104
    InitializerMissing,        // 18.1
    InitializerTypeMismatch,   // 18.6
    ArrayListMissing,          // 19.1
    ArrayListTooDeep,          // 19.2
    ArrayListNeeded,           // 19.3
    ArrayListTooLong,          // 19.4
    ArrayItemTypeMismatch,     // 19.6
    ListItemMissing,           // 20.1
    ListMissingBrace,          // 20.2
    VariableNoEntity,          // 21.103
    BadElementReference,       // 22.3
    ElementOutOfRange,         // 22.101
    ElementNoEntity,           // 22.103
    ExecutionFault,            // 0.100
    BuiltinTooFewArgs,         // 10.101
    BuiltinBadArgType,         // 10.102
    BuiltinNoMemory,           // 10.103
    BuiltinFailed,             // 10.104
    BuiltinException,          // 10.105
    UserFunctionCall,          // 10.199
    DivideByZero,              // 11.101
    OperandCount,              // 11.102
    BadOperand,                // 11.103
    OperatorNotImplemented,    // 11.104
    BadDimension,              // 15.101
    Count
};

int DiagMajor(Diag diag);
int DiagMinor(Diag diag);
// The message, or nullptr for a diagnostic without one of its own.
const char* DiagText(Diag diag);
// The meaning in English; a word in braces ("{name}") stands for the text at
// the diagnostic's position.
const char* DiagEnglish(Diag diag);

// One recorded diagnostic: where in the line, and which.
struct CExpDiag {
    int position;
    Diag id;

    int Major() const { return DiagMajor(id); }
    int Minor() const { return DiagMinor(id); }
};

// The diagnostics of a line, oldest first.
class CExpDiagList {
public:
    void Add(int position, Diag id) { diags_.push_back({position, id}); }
    bool Empty() const { return diags_.empty(); }
    const CExpDiag& Last() const { return diags_.back(); }
    std::span<const CExpDiag> All() const { return diags_; }
    size_t Count() const { return diags_.size(); }
    void Clear() { diags_.clear(); }
    // Drops the records after the first count.
    void KeepFirst(size_t count) { diags_.resize(count); }

private:
    std::vector<CExpDiag> diags_;
};

// "pos:%d  %s", or "pos:%d  未定義のメッセージ(%d.%d)" for a diagnostic
// without a message.
std::string FormatDiagnostic(const CExpDiag& diag);

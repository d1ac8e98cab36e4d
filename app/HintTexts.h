#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// ORDER HINTKIND: one row of the table in HintTexts.cpp per kind, in this
// order (a static_assert there keeps the two in step).
enum class HintKind : uint8_t {
    SemicolonAtEnd,
    SemicolonBetweenExpressions,
    SemicolonBetweenParts,
    CompoundAssignment,
    CompoundToUndeclared,
    Cast,
    Sizeof,
    Power,
    PowerForm,
    UserFunctionCall,
    EndSession,
    EndSessionWithStatus,
    Help,
    UndeclaredAssignment,
    UndeclaredFraction,
    UndeclaredUntyped,
    SecondDeclaration,
    SecondArrayDeclaration,
    BuiltinRedefinition,
    FunctionRedefinition,
    Statement,
    StatementChoice,
    StatementInDefinition,
    Unsigned,
    Signed,
    LongLong,
    TwoWordType,
    Const,
    Static,
    CharPointer,
    Pointer,
    TwoTypeWords,
    LiteralSuffix,
    CharEscape,
    StringSubscript,
    ArrayWithoutSubscript,
    Count
};

// A hint for a person at a terminal: its text, and the lines it proposes to
// type, in order (none for a hint that only explains). Every proposed line
// stands in the text whole.
struct Hint {
    HintKind kind;
    std::string text;
    std::vector<std::string> lines;
};

// A word of a hint's text that stands for the line's own text: «{name}» is
// replaced by the value given for "name". The proposed lines are «{line}»
// and «{line2}».
struct HintField {
    std::string_view key;
    std::string_view value;
};

// The hint of that kind: the row's text for a hint that proposes lines when
// lines is not empty, its text without them otherwise (a kind that has only
// one of the two always gets that one), with the fields filled in.
Hint MakeHint(HintKind kind, std::initializer_list<HintField> fields, std::vector<std::string> lines = {});
// Whether a hint of that kind can propose lines.
bool HintProposesLines(HintKind kind);

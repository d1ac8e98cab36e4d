#include "app/CConsoleCommands.h"

#include <array>
#include <charconv>
#include <optional>
#include <span>
#include <string_view>

#include "app/CReportWriter.h"
#include "engine/builtins/BuiltinTable.h"
#include "engine/items/CExpFunction.h"
#include "engine/items/CExpVararray.h"
#include "engine/items/CExpVariable.h"
#include "engine/manager/CExpManager.h"
#include "value/CValueData.h"

namespace {

constexpr const char* kGrammar[] = {
    "【識別子】",
    "    文字 _（下線）0-9 a-z A-Z で構成された文字列（先頭は数字以外であること）",
    "【変数宣言】",
    "    < char | byte | short | word | int | dword | long |",
    "      bool | float | double | string > <識別子>[=<式>] [, <識別子>[=<式>]]…",
    "【定数】",
    "    １０進整数値    123 -10 など",
    "    ８進整数値      0123 -010 など（先頭に 0 を付ける）",
    "    １６進整数値    0x0123 -0x10 など（先頭に 0x を付ける）",
    "    ２進整数値      0b0101 -0b0010 など（先頭に 0b を付ける）",
    "    浮動小数点数値  1.23 -0.1e+4 など",
    "    文字            'A' など（整数値扱いとなる）",
    "    文字列          \"abc\" など",
    "    論理            true false",
    "【演算子】",
    "    算術演算子      * / + -   + -（符号） %（剰余）",
    "    ビット演算子    ~（反転） <<（左シフト） >>（右シフト）",
    "                    &（AND） |（OR） ^（排他的OR）",
    "    関係演算子      < > <= >= == !=",
    "    論理演算子      !（NOT） &&（AND） ||（OR）",
    "    INC,DEC演算子   ++<変数> --<変数>",
    "    二択演算子      <式> ? <式> : <式>",
    "    代入演算子      <変数> = <式>",
    "    区切り演算子    <式> , <式>",
};

constexpr std::string_view kBlanks = " \t";

const char* ModeName(const FrontEndSettings& settings) {
    if (settings.silent) return "サイレント";
    switch (settings.radix) {
    case 8: return "８進数";
    case 16: return "１６進数";
    case 2: return "２進数";
    default: return "１０進数";
    }
}

// "%-40s": padded with blanks to 40 bytes, never cut.
std::string PadTo40(std::string text) {
    constexpr size_t kWidth = 40;
    if (text.size() < kWidth) text.append(kWidth - text.size(), ' ');
    return text;
}

const char* DescriptionOf(const CExpFunction& function) {
    const std::span<const BuiltinRow> table = BuiltinTable();
    const int number = function.Number();
    if (number < 0 || static_cast<size_t>(number) >= table.size()) return "(null)";
    return table[static_cast<size_t>(number)].description;
}

using Outcome = CConsoleCommands::Outcome;

// The help listing, made from the table of commands below.
void WriteHelp(const CommandContext& context);

// Reports an unknown or unavailable command, then shows the help unless silent.
Outcome RejectCommand(const CommandContext& context, const std::string& ending, const std::string& line,
                      std::string_view english) {
    context.report.Fault("コマンド '" + line + ending, english);
    if (!context.settings.silent) WriteHelp(context);
    return Outcome::Refused;
}

Outcome ShowHelp(const CommandContext& context, const std::string&, std::string_view) {
    WriteHelp(context);
    context.report.Advice("In English: the command-line option --help lists every option, man numora explains "
                          "the language and every message, and #form N shows floating results with N significant "
                          "digits (1 to 17).");
    return Outcome::Continue;
}

Outcome ShowGrammar(const CommandContext& context, const std::string&, std::string_view) {
    for (const char* line : kGrammar) context.output.PromptColour(std::string(line) + "\n");
    return Outcome::Continue;
}

Outcome SetSilent(const CommandContext& context, const std::string& line, std::string_view) {
    if (line == "#s0") {
        context.settings.silent = false;
    } else if (line == "#s1") {
        context.settings.silent = true;
    } else {
        context.settings.silent = !context.settings.silent;
    }
    return Outcome::Continue;
}

template <int radix>
Outcome SelectRadix(const CommandContext& context, const std::string&, std::string_view) {
    context.settings.radix = radix;
    return Outcome::Continue;
}

// In the order they were declared.
Outcome ListVariables(const CommandContext& context, const std::string&, std::string_view) {
    const FrontEndSettings& settings = context.settings;
    for (const auto& item : context.manager.Declarations()) {
        if (item->Kind() == EXP_VARIABLE) {
            const auto& variable = static_cast<const CExpVariable&>(*item);
            const std::string value =
                variable.Value() ? variable.Value()->Format(settings.radix, settings.floatDigits) : "";
            context.output.PromptColour(std::string(variable.Name()) + "=" + value + "\n");
        } else if (item->Kind() == EXP_VARARRAY) {
            context.output.PromptColour(std::string(item->Name()) + "[]\n");
        }
    }
    return Outcome::Continue;
}

Outcome ListFunctions(const CommandContext& context, const std::string&, std::string_view) {
    for (const auto& item : context.manager.Functions()) {
        if (item->Kind() != EXP_FUNCTION) continue;
        const auto& function = static_cast<const CExpFunction&>(*item);
        context.output.PromptColour(PadTo40(function.Text()) + " " + DescriptionOf(function) + "\n");
    }
    return Outcome::Continue;
}

// "#form N": the significant digits of floating results, N from 1 to 17.
Outcome SetFloatDigits(const CommandContext& context, const std::string& line, std::string_view argument) {
    // Without its number the command is known but does nothing.
    if (argument.empty()) {
        return RejectCommand(context, "' は現在使用できません", line,
                             "#form needs a number of significant digits, 1 to 17");
    }
    int digits = 0;
    const char* end = argument.data() + argument.size();
    const auto [stop, error] = std::from_chars(argument.data(), end, digits);
    if (error != std::errc() || stop != end || digits < 1 || digits > CValueData::kMaxDigits) {
        return RejectCommand(context, "' が間違っています", line,
                             "#form takes a number of significant digits from 1 to 17");
    }
    context.settings.floatDigits = digits;
    return Outcome::Continue;
}

Outcome Exit(const CommandContext&, const std::string&, std::string_view) {
    return Outcome::Exit;
}

// What performs a command, given the trimmed, lower-cased line and the text
// after the command's name (empty but for "#form").
using Handler = Outcome (*)(const CommandContext& context, const std::string& line, std::string_view argument);

// One command: its names, its line in the help listing (none for a command
// left out of it) and what performs it.
struct CommandRow {
    std::array<const char*, 3> names;
    const char* description;
    // The name may be followed by blanks and an argument.
    bool takesArgument;
    Handler handler;
};

// In the order of the help listing.
constexpr CommandRow kCommands[] = {
    {{"#h", "#help"}, "コマンド説明", false, ShowHelp},
    {{"#g"}, "文法説明", false, ShowGrammar},
    {{"#s", "#s0", "#s1"}, "サイレントモード切り替え", false, SetSilent},
    {{"#dec"}, "計算結果（整数値）を１０進数で出力", false, SelectRadix<10>},
    {{"#oct"}, "計算結果（整数値）を８進数で出力", false, SelectRadix<8>},
    {{"#hex"}, "計算結果（整数値）を１６進数で出力", false, SelectRadix<16>},
    {{"#bin"}, "計算結果（整数値）を２進数で出力", false, SelectRadix<2>},
    {{"#lv"}, "変数一覧", false, ListVariables},
    {{"#lf"}, "組み込み関数一覧", false, ListFunctions},
    {{"#form"}, nullptr, true, SetFloatDigits},
    {{"#x", "#exit"}, "終了", false, Exit},
};

// The text after name when line is the name alone, or (for a command that
// takes an argument) the name, blanks and more; nullopt otherwise.
std::optional<std::string_view> ArgumentAfter(std::string_view line, const char* name, bool takesArgument) {
    if (!line.starts_with(name)) return std::nullopt;
    const std::string_view rest = line.substr(std::string_view(name).size());
    if (rest.empty()) return rest;
    if (!takesArgument || kBlanks.find(rest.front()) == std::string_view::npos) return std::nullopt;
    return rest.substr(rest.find_first_not_of(kBlanks));
}

void WriteHelp(const CommandContext& context) {
    for (const CommandRow& row : kCommands) {
        if (row.description == nullptr) continue;
        for (const char* name : row.names) {
            if (name != nullptr) context.output.PromptColour(std::string(name) + " ");
        }
        context.output.PromptColour(std::string(": ") + row.description + "\n");
    }
    context.output.PromptColour("\n現在の出力設定　");
    context.output.PromptColour(ModeName(context.settings));
    context.output.Plain("\n");
}

}  // namespace

Outcome CConsoleCommands::Dispatch(const std::string& line) {
    for (const CommandRow& row : kCommands) {
        for (const char* name : row.names) {
            if (name == nullptr) break;
            if (const auto argument = ArgumentAfter(line, name, row.takesArgument)) {
                return row.handler(context_, line, *argument);
            }
        }
    }
    return RejectCommand(context_, "' が間違っています", line, "unknown command; the commands are listed below");
}

std::vector<std::string> CConsoleCommands::Names() {
    std::vector<std::string> names;
    for (const CommandRow& row : kCommands) {
        for (const char* name : row.names) {
            if (name != nullptr) names.emplace_back(name);
        }
    }
    return names;
}

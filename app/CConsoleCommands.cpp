#include "app/CConsoleCommands.h"

#include <charconv>
#include <string_view>

#include "engine/builtins/BuiltinTable.h"
#include "engine/items/CExpFunction.h"
#include "engine/manager/CExpManager.h"
#include "engine/items/CExpVararray.h"
#include "engine/items/CExpVariable.h"
#include "value/CValueData.h"

namespace {

// ORDER COMMAND IDS: 5 to 8 are also the radix modes of FrontEndSettings.
enum CommandId : int {
    CMD_HELP = 0,
    CMD_VARIABLES = 1,
    CMD_EXIT = 2,
    CMD_GRAMMAR = 3,
    CMD_SILENT = 4,
    CMD_FUNCTIONS = 9,
    CMD_FORM = 10,
};

struct CommandRow {
    const char* name;
    int id;
};

// Searched in this order; the help listing also prints the names in it.
constexpr CommandRow kCommands[] = {
    {"#h", CMD_HELP},        {"#help", CMD_HELP},     {"#g", CMD_GRAMMAR},
    {"#s", CMD_SILENT},      {"#s0", CMD_SILENT},     {"#s1", CMD_SILENT},
    {"#dec", RADIX_DEC},     {"#oct", RADIX_OCT},     {"#hex", RADIX_HEX},
    {"#bin", RADIX_BIN},     {"#lv", CMD_VARIABLES},  {"#lf", CMD_FUNCTIONS},
    {"#form", CMD_FORM},     {"#x", CMD_EXIT},        {"#exit", CMD_EXIT},
};

struct DescriptionRow {
    int id;
    const char* text;
};

// The help listing's lines, in print order; "#form" has none.
constexpr DescriptionRow kDescriptions[] = {
    {CMD_HELP, "コマンド説明"},
    {CMD_GRAMMAR, "文法説明"},
    {CMD_SILENT, "サイレントモード切り替え"},
    {RADIX_DEC, "計算結果（整数値）を１０進数で出力"},
    {RADIX_OCT, "計算結果（整数値）を８進数で出力"},
    {RADIX_HEX, "計算結果（整数値）を１６進数で出力"},
    {RADIX_BIN, "計算結果（整数値）を２進数で出力"},
    {CMD_VARIABLES, "変数一覧"},
    {CMD_FUNCTIONS, "組み込み関数一覧"},
    {CMD_EXIT, "終了"},
};

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

const char* ModeName(const FrontEndSettings& settings) {
    if (settings.silent) return "サイレント";
    switch (settings.radixMode) {
    case RADIX_OCT: return "８進数";
    case RADIX_HEX: return "１６進数";
    case RADIX_BIN: return "２進数";
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

}  // namespace

CConsoleCommands::Outcome CConsoleCommands::Dispatch(const std::string& line) {
    for (const CommandRow& row : kCommands) {
        if (line != row.name) continue;
        switch (row.id) {
        case CMD_HELP: ShowHelp(); break;
        case CMD_VARIABLES: ListVariables(); break;
        case CMD_EXIT: return Outcome::Exit;
        case CMD_GRAMMAR: ShowGrammar(); break;
        case CMD_SILENT: SetSilent(line); break;
        case RADIX_DEC:
        case RADIX_OCT:
        case RADIX_HEX:
        case RADIX_BIN: settings_.radixMode = row.id; break;
        case CMD_FUNCTIONS: ListFunctions(); break;
        default: RejectCommand("' は現在使用できません", line); break;
        }
        return Outcome::Continue;
    }
    if (!SetFloatDigits(line)) RejectCommand("' が間違っています", line);
    return Outcome::Continue;
}

// "#form N": N from 1 to 17 after one or more blanks.
bool CConsoleCommands::SetFloatDigits(const std::string& line) {
    constexpr std::string_view kForm = "#form";
    const std::string_view text(line);
    if (!text.starts_with(kForm)) return false;
    const std::string_view rest = text.substr(kForm.size());
    const size_t number = rest.find_first_not_of(" \t");
    if (number == 0 || number == std::string_view::npos) return false;
    int digits = 0;
    const char* end = rest.data() + rest.size();
    const auto [stop, error] = std::from_chars(rest.data() + number, end, digits);
    if (error != std::errc() || stop != end || digits < 1 || digits > CValueData::kMaxDigits) return false;
    settings_.floatDigits = digits;
    return true;
}

void CConsoleCommands::RejectCommand(const std::string& ending, const std::string& line) const {
    WriteErrorLine("コマンド '" + line + ending);
    if (!settings_.silent) ShowHelp();
}

void CConsoleCommands::SetSilent(const std::string& name) {
    if (name == "#s0") {
        settings_.silent = false;
    } else if (name == "#s1") {
        settings_.silent = true;
    } else {
        settings_.silent = !settings_.silent;
    }
}

void CConsoleCommands::ShowHelp() const {
    for (const DescriptionRow& description : kDescriptions) {
        for (const CommandRow& command : kCommands) {
            if (command.id == description.id) output_.PromptColour(std::string(command.name) + " ");
        }
        output_.PromptColour(std::string(": ") + description.text + "\n");
    }
    output_.PromptColour("\n現在の出力設定　");
    output_.PromptColour(ModeName(settings_));
    output_.Plain("\n");
}

void CConsoleCommands::ShowGrammar() const {
    for (const char* line : kGrammar) output_.PromptColour(std::string(line) + "\n");
}

// In the order they were declared.
void CConsoleCommands::ListVariables() const {
    const int radix = RadixOf(settings_.radixMode);
    for (const auto& item : manager_.Declarations()) {
        if (item->Kind() == EXP_VARIABLE) {
            const auto& variable = static_cast<const CExpVariable&>(*item);
            const std::string value = variable.Value() ? variable.Value()->Format(radix, settings_.floatDigits) : "";
            output_.PromptColour(std::string(variable.Name()) + "=" + value + "\n");
        } else if (item->Kind() == EXP_VARARRAY) {
            output_.PromptColour(std::string(item->Name()) + "[]\n");
        }
    }
}

void CConsoleCommands::ListFunctions() const {
    for (const auto& item : manager_.Functions()) {
        if (item->Kind() != EXP_FUNCTION) continue;
        const auto& function = static_cast<const CExpFunction&>(*item);
        output_.PromptColour(PadTo40(function.Text()) + " " + DescriptionOf(function) + "\n");
    }
}

std::vector<std::string> CConsoleCommands::Names() {
    std::vector<std::string> names;
    for (const CommandRow& row : kCommands) names.emplace_back(row.name);
    return names;
}

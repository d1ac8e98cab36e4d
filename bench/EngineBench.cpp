// What a line costs in the engine: parse and execute of typical lines, and
// name lookup in a session that already holds many declarations.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/manager/CExpManager.h"

namespace {

void RunLine(CExpManager& manager, const std::string& line) {
    CValueData result;
    benchmark::DoNotOptimize(manager.Parse(line));
    benchmark::DoNotOptimize(manager.Execute(result));
}

void BM_IntegerLine(benchmark::State& state) {
    CExpManager manager;
    const std::string line = "(3 + 4) * 5 - 6 * (7 + 8) + 9 * 2 - 1";
    for (auto _ : state) RunLine(manager, line);
}
BENCHMARK(BM_IntegerLine);

void BM_FloatingLine(benchmark::State& state) {
    CExpManager manager;
    const std::string line = "sqrt(12.5) * sin(0.25) + 1.5 / 3.0";
    for (auto _ : state) RunLine(manager, line);
}
BENCHMARK(BM_FloatingLine);

void BM_ElementLine(benchmark::State& state) {
    CExpManager manager;
    manager.Parse("int v[1000]");
    const std::string line = "v[12] = v[840] + 3";
    for (auto _ : state) RunLine(manager, line);
}
BENCHMARK(BM_ElementLine);

void BM_VariableLine(benchmark::State& state) {
    CExpManager manager;
    manager.Parse("int a = 7");
    const std::string line = "a * 3 + (a - 1) * 2";
    for (auto _ : state) RunLine(manager, line);
}
BENCHMARK(BM_VariableLine);

// A lookup of the last-declared name must not grow with the session.
void BM_LookupAfterDeclarations(benchmark::State& state) {
    CExpManager manager;
    const int count = static_cast<int>(state.range(0));
    for (int i = 1; i <= count; ++i) manager.Parse("int v" + std::to_string(i) + " = " + std::to_string(i));
    const std::string line = "v" + std::to_string(count) + " + v" + std::to_string(count - 1);
    for (auto _ : state) RunLine(manager, line);
}
BENCHMARK(BM_LookupAfterDeclarations)->Arg(10)->Arg(1000)->Arg(100000);

}  // namespace

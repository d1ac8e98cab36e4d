// The value arithmetic that every operator ends in.
#include <benchmark/benchmark.h>

#include "value/CValueData.h"

namespace {

void BM_IntAdd(benchmark::State& state) {
    const CValueData a = CValueData::Int(12345);
    const CValueData b = CValueData::Int(678);
    for (auto _ : state) benchmark::DoNotOptimize(a.Add(b));
}
BENCHMARK(BM_IntAdd);

void BM_DoubleMul(benchmark::State& state) {
    const CValueData a = CValueData::Double(1.5);
    const CValueData b = CValueData::Int(3);
    for (auto _ : state) benchmark::DoNotOptimize(a.Mul(b));
}
BENCHMARK(BM_DoubleMul);

void BM_FractionAdd(benchmark::State& state) {
    const CValueData a = CValueData::Fraction(CFraction(1, 3));
    const CValueData b = CValueData::Fraction(CFraction(5, 7));
    for (auto _ : state) benchmark::DoNotOptimize(a.Add(b));
}
BENCHMARK(BM_FractionAdd);

void BM_StringConcat(benchmark::State& state) {
    const CValueData a = CValueData::String(std::string_view("numora "));
    const CValueData b = CValueData::String(std::string_view("calculator"));
    for (auto _ : state) benchmark::DoNotOptimize(a.Add(b));
}
BENCHMARK(BM_StringConcat);

void BM_FormatHex(benchmark::State& state) {
    const CValueData a = CValueData::Long(-7);
    for (auto _ : state) benchmark::DoNotOptimize(a.Format(16));
}
BENCHMARK(BM_FormatHex);

}  // namespace

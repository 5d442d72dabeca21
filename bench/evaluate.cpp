// Evaluations per second of the operation lists the compiler makes for three
// typical statements, against a baseline of the least work any evaluator
// must do for the first one: find x by name and store x + 1.
#include <benchmark/benchmark.h>

#include "values/param_collection.h"
#include "values/vesk_parser.h"

using namespace vesk;

namespace {

// Variables of a running game besides the ones the statements use, so the
// lookups walk realistic chains.
void AddBackground(TParamCollection& vars) {
    for (int i = 0; i < 200; ++i) vars.AddNamed(PT_INT, "flag" + std::to_string(i));
}

// x = x + 1
void BuildIncrement(TVeskParser& p) {
    p.Add(ocPlus, "____0").AddVar("x").AddInt(1);
    p.Add(ocTo, "x").AddVar("____0");
}

// a[i, j] = a[i, j] * 2 + k
void BuildArrayUpdate(TVeskParser& p) {
    p.Add(ocDimTo, "____d_0").AddVar("a").AddVar("i").AddVar("j");
    p.Add(ocDimTo, "____d_1").AddVar("a").AddVar("i").AddVar("j");
    p.Add(ocMul, "____2").AddVar("____d_0").AddInt(2);
    p.Add(ocPlus, "____3").AddVar("____2").AddVar("k");
    p.Add(ocTo, "____d_1").AddVar("____3");
}

// s = t ++ "abc"
void BuildConcat(TVeskParser& p) {
    p.Add(ocTo, "____0").AddStr("abc");
    p.Add(ocComboStr, "____1").AddVar("t").AddVar("____0");
    p.Add(ocTo, "s").AddVar("____1");
}

void BM_Baseline_FindAndStore(benchmark::State& state) {
    TParamCollection vars;
    AddBackground(vars);
    vars.AddNamed(PT_INT, "x");
    for (auto _ : state) {
        TCustomParam& x = vars.Find("x")->Value();
        x.SetInt(x.AsInt() + 1);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_Increment(benchmark::State& state) {
    TParamCollection vars;
    AddBackground(vars);
    auto& x = vars.AddNamed(PT_INT, "x");
    TVeskParser p;
    BuildIncrement(p);
    for (auto _ : state) p.Evaluate(vars);
    if (x.Value().AsInt() != static_cast<std::int32_t>(state.iterations())) state.SkipWithError("wrong result");
    state.SetItemsProcessed(state.iterations());
}

void BM_ArrayUpdate(benchmark::State& state) {
    TParamCollection vars;
    AddBackground(vars);
    auto& a = vars.AddNamed(PT_INT, "a");
    a.Value().SetDims({10, 10});
    vars.AddNamed(PT_INT, "i").Value().SetInt(3);
    vars.AddNamed(PT_INT, "j").Value().SetInt(4);
    vars.AddNamed(PT_INT, "k").Value().SetInt(1);
    TVeskParser p;
    BuildArrayUpdate(p);
    for (auto _ : state) {
        a.Value().SetIntAt(34, 0);
        p.Evaluate(vars);
    }
    if (a.Value().GetIntAt(34) != 1 || a.Value().Count() != 100) state.SkipWithError("wrong result");
    state.SetItemsProcessed(state.iterations());
}

void BM_Concat(benchmark::State& state) {
    TParamCollection vars;
    AddBackground(vars);
    vars.AddNamed(PT_STR, "t").Value().SetStr("twenty bytes of text");
    auto& s = vars.AddNamed(PT_STR, "s");
    TVeskParser p;
    BuildConcat(p);
    for (auto _ : state) p.Evaluate(vars);
    if (s.Value().AsStr() != "twenty bytes of textabc") state.SkipWithError("wrong result");
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_Baseline_FindAndStore);
BENCHMARK(BM_Increment);
BENCHMARK(BM_ArrayUpdate);
BENCHMARK(BM_Concat);
BENCHMARK_MAIN();

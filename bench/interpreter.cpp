// Interpreter speed: commands per second of a tight While + Calc loop, and
// the time to load a page of 10,000 commands. The baseline is a bare
// evaluation of the loop's expressions without the interpreter around them.
#include <benchmark/benchmark.h>

#include "common/quit.h"
#include "script/callman.h"
#include "script/com_flow.h"
#include "script/com_vars.h"
#include "script/plain_port.h"
#include "values/compiler.h"
#include "values/param_collection.h"

namespace vesk {
namespace {

TOpList Op(const char* text) {
    auto op = std::make_unique<TVeskParser>();
    CompileExpression(text, *op);
    return op;
}

std::unique_ptr<TPage> LoopPage(int limit) {
    auto page = std::make_unique<TPage>("loop.vks");
    auto init = std::make_unique<TComCalc>(page.get());
    init->Expression = Op("i = 0");
    auto loop = std::make_unique<TComWhile>(page.get());
    loop->Condition = Op(("i < " + std::to_string(limit)).c_str());
    loop->ExitIndex = 4;
    auto body = std::make_unique<TComCalc>(page.get());
    body->Indent = 1;
    body->Expression = Op("i = i + 1");
    auto back = std::make_unique<TComWhileLoop>(page.get());
    back->Step = std::make_unique<TVeskParser>();
    back->Target = 1;
    page->Commands.push_back(std::move(init));
    page->Commands.push_back(std::move(loop));
    page->Commands.push_back(std::move(body));
    page->Commands.push_back(std::move(back));
    return page;
}

class TBenchSource final : public TPageSource {
public:
    std::string bytes;
    bool PageExists(const std::string&) override { return true; }
    std::unique_ptr<TStream> OpenPage(const std::string&) override {
        return std::make_unique<TMemoryStream>(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    }
    void PageTooOld(const std::string&) override {}
};

class TBenchHost final : public TScriptHost {
public:
    bool QuitRequested() const override { return false; }
    void SetQuitRequested(bool) override {}
    void PostClose() override {}
    std::uint32_t PlayClock() const override { return 0; }
    std::int32_t LastFrameMs() const override { return 16; }
    void ShowWarning(const std::string&) override {}
};

constexpr int kLoop = 10000;

void BM_WhileCalcLoop(benchmark::State& state) {
    TParamCollection vars;
    TParamCollection::SetGlobal(&vars);
    vars.Declare("i", PT_INT, 0, TParamInt());
    TBenchSource source;
    TMemoryStream s;
    LoopPage(kLoop)->SaveToStream(s);
    source.bytes = s.AsString();
    TBenchHost host;
    TPlainComponentPort port;
    TCallMan cm(host, source, port, vars);
    for (auto _ : state) {
        cm.Start("loop.vks");
        cm.Step();
    }
    // Per pass: While, Calc and WhileLoop; plus the first Calc and the last While.
    state.counters["commands/s"] = benchmark::Counter(double(state.iterations()) * (3.0 * kLoop + 2), benchmark::Counter::kIsRate);
    TParamCollection::SetGlobal(nullptr);
}
BENCHMARK(BM_WhileCalcLoop)->Unit(benchmark::kMillisecond);

// Baseline: the same three evaluations per pass, called directly.
void BM_BareEvaluations(benchmark::State& state) {
    TParamCollection vars;
    TParamCollection::SetGlobal(&vars);
    vars.Declare("i", PT_INT, 0, TParamInt());
    TOpList init = Op("i = 0"), test = Op(("i < " + std::to_string(kLoop)).c_str()), step = Op("i = i + 1");
    for (auto _ : state) {
        init->Evaluate(vars);
        for (;;) {
            test->Evaluate(vars);
            if (!test->Result()->AsBool()) break;
            step->Evaluate(vars);
        }
    }
    state.counters["commands/s"] = benchmark::Counter(double(state.iterations()) * (3.0 * kLoop + 2), benchmark::Counter::kIsRate);
    TParamCollection::SetGlobal(nullptr);
}
BENCHMARK(BM_BareEvaluations)->Unit(benchmark::kMillisecond);

void BM_LoadPage10000(benchmark::State& state) {
    TPage page("big.vks");
    for (int i = 0; i < 10000; ++i) {
        auto c = std::make_unique<TComCalc>(&page);
        c->Expression = Op("x = a + b * 2");
        page.Commands.push_back(std::move(c));
    }
    TMemoryStream s;
    page.SaveToStream(s);
    for (auto _ : state) {
        TConstMemoryStream in(s.Data(), s.Size());
        TPage loaded("big.vks");
        loaded.LoadFromStream(in);
        benchmark::DoNotOptimize(loaded.Count());
    }
    state.counters["bytes"] = double(s.Size());
}
BENCHMARK(BM_LoadPage10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();

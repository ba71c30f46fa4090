// One calculation run on the in-memory form: what a press of "GO !" costs without a window.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "calculation_run.h"
#include "memory_form.h"

namespace {

std::unique_ptr<char[]> text(const char* s) {
    std::unique_ptr<char[]> t(new char[std::strlen(s) + 1]);
    std::strcpy(t.get(), s);
    return t;
}

void runOne(benchmark::State& state, const char* code) {
    auto catalogue = std::make_unique<vyr::SpellCatalogue>();
    vyr::SpellRecord& r = (*catalogue)[0];
    r.setName(text("Sort"));
    r.setCode(text(code));
    r.delayFactor = 2;
    r.delayExtra = 500;
    r.delayLevel = 10;
    r.rollRange = 7;
    r.rollBase = 4;
    r.intDivisor = 5;
    r.wisDivisor = 3;
    vyr::InMemoryForm form;
    vyr::setDefaults(form);
    form.addName("Sort");
    form.select(0);
    const vyr::ShowMessage ignore = [](const char*, const char*) {};
    for (auto _ : state) {
        vyr::runCalculation(form, *catalogue, ignore);
        benchmark::DoNotOptimize(form);
    }
}

void StandardSpell(benchmark::State& state) { runOne(state, "f"); }
void SpecialSpellWithText(benchmark::State& state) { runOne(state, "stu"); }

BENCHMARK(StandardSpell);
BENCHMARK(SpecialSpellWithText);

}  // namespace

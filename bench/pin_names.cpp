// Calls per second of the pin-name predicates a host runs for every pin it builds.
#include "setup/setup_store.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

// A part's worth of pin names: buses, controls in every low-asserted notation, supplies.
std::vector<std::string> PinNames() {
    std::vector<std::string> names;
    for (int i = 0; i < 16; ++i) {
        names.push_back("A" + std::to_string(i));
        names.push_back("DQ" + std::to_string(i));
    }
    const char* const controls[] = {
        "CS*",   "WE_N",
        "OE_n",  "RESET*",
        "-RD",   "-WR",
        "IRQ_N", "BUSY*",
        "CLK",   "CKE",
        "VCC",   "VDDQ",
        "GND",   "VSSQ",
        "NC",    "RAS_N",
        "CAS_N", "ODT",
        "ZQ",    "DM0",
        "DQS*",  "DQS0_N",
        "EN",    "READY",
        "PWRDN", "SDA",
        "SCL",   "INT*",
        "WP",    "HOLD_N",
        "TDI",   "TDO",
        "TCK",   "TMS",
        "TRST*", "BOOT0",
        "NMI*",  "MEMORY_CHIP_SELECT_N",
    };
    names.insert(names.end(), std::begin(controls), std::end(controls));
    return names;
}

void BM_IsPinReadActiveLow(benchmark::State& state) {
    const CPFCoreSetupAPI store;
    const std::vector<std::string> names = PinNames();
    for (auto _ : state) {
        for (const std::string& name : names) {
            benchmark::DoNotOptimize(store.IsPinReadActiveLow(name));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(names.size()));
}
BENCHMARK(BM_IsPinReadActiveLow);

void BM_IsPinWriteActiveLow(benchmark::State& state) {
    const CPFCoreSetupAPI store;
    const std::vector<std::string> names = PinNames();
    for (auto _ : state) {
        for (const std::string& name : names) {
            benchmark::DoNotOptimize(store.IsPinWriteActiveLow(name));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(names.size()));
}
BENCHMARK(BM_IsPinWriteActiveLow);

// Each call works on a fresh copy of the name in a buffer reserved up front, so the loop
// measures the conversion rather than allocations.
void BM_CreateActiveHighPin(benchmark::State& state) {
    const CPFCoreSetupAPI store;
    const std::vector<std::string> names = PinNames();
    std::string pin;
    pin.reserve(64);
    for (auto _ : state) {
        for (const std::string& name : names) {
            pin.assign(name);
            benchmark::DoNotOptimize(store.CreateActiveHighPin(pin));
            benchmark::DoNotOptimize(pin.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(names.size()));
}
BENCHMARK(BM_CreateActiveHighPin);

} // namespace

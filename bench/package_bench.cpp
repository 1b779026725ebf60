// Measures the package core against the cheapest thing that moves the same bytes.
//   build/bin/package_bench
// Each pair runs in the same process, so compare the ratio, not the absolute times.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "package_writer.h"
#include "quiet_platform.h"
#include "temp_folder.h"
#include "utf8.h"
#include "variable_file.h"

namespace fs = std::filesystem;
using namespace quillbeam;

namespace {

constexpr std::size_t kMessageUnits = 1 << 20;

std::u16string LongMessage() {
    std::u16string message;
    message.reserve(kMessageUnits);
    const std::u16string_view line =
        u"Grand opening: 20% off every caf\u00E9 cr\u00E8me, na\u00EFve prices!\r\n";
    while (message.size() < kMessageUnits) message.append(line);
    message.resize(kMessageUnits);
    return message;
}

void BM_VariableFile1MiB(benchmark::State& state) {
    const std::u16string message = LongMessage();
    for (auto _ : state) {
        std::string text = BuildVariableFileText(message, u"http://example.com/");
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kMessageUnits));
}

// Baseline: copying the finished file's bytes into a fresh buffer.
void BM_Memcpy1MiB(benchmark::State& state) {
    const std::string source(kMessageUnits + 229, 'x');
    for (auto _ : state) {
        std::string copy(source.size(), '\0');
        std::memcpy(copy.data(), source.data(), source.size());
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kMessageUnits));
}

// An application folder with a 50 MiB movie, and a ready package to copy for the baseline.
struct Fixture {
    TempFolder temp;
    fs::path app = temp / "app";
    fs::path ready = temp / "ready";
    BannerRequest request;

    Fixture() {
        fs::create_directories(app / "Template");
        WriteFileBytes(app / "Template" / "bannerloop2.swf", std::string(50 << 20, 'm'));
        WriteFileBytes(app / "Template" / "mypic.jpg", std::string(4000, 'p'));
        request.messages = {u"One", u"Two", u"Three", u"Four"};
        request.url = u"http://example.com/";
        fs::create_directories(ready);
        request.folder = FromUtf8(ready.string());
        QuietPlatform platform;
        GeneratePackage(request, FromUtf8(app.string()), platform);
    }
};

void BM_GeneratePackage50MiB(benchmark::State& state) {
    Fixture fixture;
    const fs::path out = fixture.temp / "out";
    fs::create_directories(out);
    fixture.request.folder = FromUtf8(out.string());
    QuietPlatform platform;
    for (auto _ : state) {
        GeneratePackage(fixture.request, FromUtf8(fixture.app.string()), platform);
    }
}

// Baseline: `cp` of the same seven files into a folder that already holds them.
void BM_CpSevenFiles50MiB(benchmark::State& state) {
    Fixture fixture;
    const fs::path out = fixture.temp / "out";
    fs::create_directories(out);
    const std::string command = "cp '" + fixture.ready.string() + "'/* '" + out.string() + "'/";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("cp failed");
    }
}

}  // namespace

BENCHMARK(BM_Memcpy1MiB);
BENCHMARK(BM_VariableFile1MiB);
BENCHMARK(BM_CpSevenFiles50MiB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GeneratePackage50MiB)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();

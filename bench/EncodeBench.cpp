// Cost of turning search text into a query word, beside the bare conversions it builds on.
// Sizes are those of the text's UTF-16 form. Run bench/encode_ratios.py for the ratios.
#include "lookup/CodePage932.h"
#include "lookup/EncodeQueryText.h"
#include "lookup/ReferenceEncoding.h"

#include <benchmark/benchmark.h>

using lookup::QueryEncoding;

namespace {

// Mixed Japanese and ASCII, with half-width katakana, blanks and URL punctuation.
QString mixedText(qsizetype bytes) {
    static const QString sample =
        QString::fromUtf16(u"東京駅 Tokyo station ｴｷ、行き方? a&b=1 です。");
    QString text;
    const qsizetype units = bytes / 2;
    text.reserve(units);
    while (text.size() < units)
        text += sample;
    text.truncate(units);
    return text;
}

void setBytes(benchmark::State& state) {
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_BareCodePage932(benchmark::State& state) {
    const QString text = mixedText(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(lookup::toCodePage932(text));
    setBytes(state);
}

void BM_BareUtf8(benchmark::State& state) {
    const QString text = mixedText(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(lookup::toUtf8(text));
    setBytes(state);
}

void BM_QtUtf8(benchmark::State& state) {
    const QString text = mixedText(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(text.toUtf8());
    setBytes(state);
}

template <QueryEncoding E> void BM_Encode(benchmark::State& state) {
    const QString text = mixedText(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(lookup::encodeQueryText(text, E));
    setBytes(state);
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(16)->Arg(1024)->Arg(1 << 20);
}

} // namespace

BENCHMARK(BM_BareCodePage932)->Apply(sizes);
BENCHMARK(BM_BareUtf8)->Apply(sizes);
BENCHMARK(BM_QtUtf8)->Apply(sizes);
BENCHMARK(BM_Encode<QueryEncoding::Raw>)->Name("BM_Encode/Raw")->Apply(sizes);
BENCHMARK(BM_Encode<QueryEncoding::Utf8>)->Name("BM_Encode/Utf8")->Apply(sizes);
BENCHMARK(BM_Encode<QueryEncoding::ShiftJis>)->Name("BM_Encode/ShiftJis")->Apply(sizes);
BENCHMARK(BM_Encode<QueryEncoding::EucJp>)->Name("BM_Encode/EucJp")->Apply(sizes);
BENCHMARK(BM_Encode<QueryEncoding::ShiftJisTwice>)->Name("BM_Encode/ShiftJisTwice")->Apply(sizes);

BENCHMARK_MAIN();

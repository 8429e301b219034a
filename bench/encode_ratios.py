#!/usr/bin/env python3
"""Runs the encoder benchmark once and prints each encoding's cost against its bare
conversion (code page 932 or UTF-8) at every size, and the cost per byte as size grows."""
import json
import subprocess
import sys
from pathlib import Path

binary = Path(sys.argv[1] if len(sys.argv) > 1 else "build/bench/encode_bench")
out = subprocess.run([str(binary), "--benchmark_format=json", "--benchmark_repetitions=5",
                      "--benchmark_report_aggregates_only=true",
                      "--benchmark_enable_random_interleaving=true"],
                     check=True, capture_output=True, text=True).stdout
times = {}
for b in json.loads(out)["benchmarks"]:
    if b.get("aggregate_name") != "median":
        continue
    name, size = b["run_name"].rsplit("/", 1)
    times[(name, int(size))] = b["cpu_time"] if b["time_unit"] == "ns" else None

bare = {"Utf8": "BM_BareUtf8", "ShiftJis": "BM_BareCodePage932",
        "EucJp": "BM_BareCodePage932", "ShiftJisTwice": "BM_BareCodePage932"}
sizes = sorted({s for _, s in times})
print(f"{'encoding':18}" + "".join(f"{s:>12}" for s in sizes) + "   ns/byte 1K -> 1M")
for enc, base in bare.items():
    row = f"{enc:18}"
    for s in sizes:
        row += f"{times[('BM_Encode/' + enc, s)] / times[(base, s)]:>11.2f}x"
    per_k = times[("BM_Encode/" + enc, 1024)] / 1024
    per_m = times[("BM_Encode/" + enc, 1 << 20)] / (1 << 20)
    row += f"   {per_k:.2f} -> {per_m:.2f}"
    print(row)
for base in ("BM_BareCodePage932", "BM_BareUtf8", "BM_QtUtf8"):
    print(f"{base:18}" + "".join(f"{times[(base, s)]:>10.0f}ns" for s in sizes))

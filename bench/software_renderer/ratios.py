#!/usr/bin/env python3
"""Ratios of the renderer's times to pixman's from a JSON run of
software_renderer_bench (best CPU time of the repetitions; below 1 means
the renderer is faster), and of both to the memory limit of the same work
(memcpy of the destination bytes). Then each Level_ row's time at each
level of vector extensions against its time with SSE2 alone.

  software_renderer_bench --benchmark_repetitions=8 \
      --benchmark_enable_random_interleaving=true \
      --benchmark_out=run.json --benchmark_out_format=json
  ratios.py run.json
"""
import collections
import json
import sys

PAIRS = [
    ("Vexlo_Copy_Sprites", "Pixman_Src_Sprites"),
    ("Vexlo_Copy_Screen", "Pixman_Src_Screen"),
    ("Vexlo_Alpha_Sprites", "Pixman_Over_Sprites"),
    ("Vexlo_Alpha_Screen", "Pixman_Over_Screen"),
    ("Vexlo_AlphaP200_Sprites", "Pixman_OverMask200_Sprites"),
    ("Vexlo_AlphaP200_Screen", "Pixman_OverMask200_Screen"),
    ("Vexlo_Add_Sprites", "Pixman_Add_Sprites"),
    ("Vexlo_Add_Screen", "Pixman_Add_Screen"),
]

times = collections.defaultdict(list)
for run in json.load(open(sys.argv[1]))["benchmarks"]:
    if run.get("run_type", "iteration") == "iteration":
        times[run["run_name"]].append(run["cpu_time"])
best = {name: min(values) for name, values in times.items()}
for ours, theirs in PAIRS:
    if ours in best and theirs in best:
        limit = best.get("Memcpy_" + ours.rsplit("_", 1)[1])
        line = (f"{ours:26s} {best[ours] / 1000:9.1f} us   {theirs:28s} {best[theirs] / 1000:9.1f} us"
                f"   ratio {best[ours] / best[theirs]:.2f}")
        if limit:
            line += (f"   memcpy {limit / 1000:8.1f} us: ours x{best[ours] / limit:.2f},"
                     f" pixman x{best[theirs] / limit:.2f}")
        print(line)

levels = collections.defaultdict(dict)
for name, value in best.items():
    if name.startswith("Level_") and "/" in name:
        family, level = name.rsplit("/", 1)
        levels[family][int(level)] = value
LEVEL_NAMES = {0: "SSE2", 1: "SSE4.1", 3: "AVX2"}
for family in sorted(levels):
    by_level = levels[family]
    if 0 not in by_level:
        continue
    cells = [f"{LEVEL_NAMES.get(level, level)} {by_level[level] / 1000:7.1f} us x{by_level[level] / by_level[0]:.2f}"
             for level in sorted(by_level)]
    print(f"{family:30s} " + "   ".join(cells))

#!/usr/bin/env python3
"""Counts wineserver requests per benchmark step in a server trace (wineserver -d1).

  count_requests.py TRACE

fill_bench --mark-steps brackets each step with look-ups of the atoms "tintora-bench begin MODE
KIND" and "... end ...". The requests the same thread makes between the two are the step's;
printed is the median per mode and kind, with the requests that step makes most."""
import collections
import re
import statistics
import sys

MARK = re.compile(r'^([0-9a-f]{4}): find_atom\( name=L"tintora-bench (begin|end) (\d) (\w+)" \)')
REQUEST = re.compile(r'^([0-9a-f]{4}): (\w+)\( ')

counts = collections.defaultdict(list)
kinds = collections.defaultdict(collections.Counter)
open_step = None  # (thread, mode, kind, counter)
with open(sys.argv[1], errors="replace") as trace:
    for line in trace:
        mark = MARK.match(line)
        if mark:
            thread, edge, mode, kind = mark.groups()
            if edge == "begin":
                open_step = (thread, mode, kind, collections.Counter())
            elif open_step and open_step[0] == thread:
                key = (int(mode), open_step[2])
                counts[key].append(sum(open_step[3].values()))
                kinds[key].update(open_step[3])
                open_step = None
            continue
        request = REQUEST.match(line)
        if request and open_step and request.group(1) == open_step[0]:
            open_step[3][request.group(2)] += 1

if not counts:
    sys.exit("count_requests: no marked steps in " + sys.argv[1])
names = ["red", "green", "blue", "hue", "saturation", "brightness"]
labels = {"slider": "slider-drag step (0x3C)", "field": "field-drag step  (0x35)",
          "none": "redraw without pictures (0x00)"}
for (mode, kind), values in sorted(counts.items(), key=lambda kv: (kv[0][1] != "none", kv[0])):
    steps = len(values)
    most = ", ".join("%s %d" % (name, round(n / steps)) for name, n in kinds[(mode, kind)].most_common(4))
    if kind == "grab":
        print("grab step: a pointer move, the popup moved and repainted %4d requests  (%s)" %
              (statistics.median(values), most))
        continue
    print("%s mode %d %-10s %4d requests  (%s)" % (labels[kind], mode, names[mode],
                                                  statistics.median(values), most))

"""networkx side of the graph benchmark: the same graph and pairs as
orvserver_bench, timed with bidirectional_shortest_path."""
import array
import json
import sys
import time

import networkx as nx


def rss_bytes():
    with open("/proc/self/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) * 1024
    return 0


def main(folder):
    edges = array.array("I")
    with open(folder + "/edges.bin", "rb") as f:
        edges.frombytes(f.read())
    pairs = [tuple(map(int, line.split())) for line in open(folder + "/pairs.txt")]
    members = max(max(edges), max(max(p) for p in pairs)) + 1
    before = rss_bytes()
    t0 = time.perf_counter()
    g = nx.Graph()
    g.add_nodes_from(range(members))
    it = iter(edges)
    g.add_edges_from((a, b) for a, b in zip(it, it) if a != b)
    build = time.perf_counter() - t0
    del edges
    after = rss_bytes()
    times, hops = [], []
    for a, b in pairs:
        s = time.perf_counter()
        try:
            path = nx.bidirectional_shortest_path(g, a, b)
            hops.append(len(path) - 1)
        except nx.NetworkXNoPath:
            hops.append(-1)
        times.append((time.perf_counter() - s) * 1000)
    with open(folder + "/networkx-hops.txt", "w") as f:
        f.write("".join("%d\n" % h for h in hops))
    ordered = sorted(times)

    def pct(p):
        return ordered[min(len(ordered) - 1, max(0, -(-p * len(ordered) // 100) - 1))]

    json.dump({"networkx": nx.__version__, "python": sys.version.split()[0],
               "buildSeconds": round(build, 2), "graphRssDeltaBytes": after - before,
               "edges": g.number_of_edges(),
               "onePath": {"p50ms": round(pct(50), 4), "p99ms": round(pct(99), 4),
                           "meanms": round(sum(times) / len(times), 4)}},
              sys.stdout, indent=2)
    print()


if __name__ == "__main__":
    main(sys.argv[1])

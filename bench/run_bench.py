"""Runs the browser (vesko_shell) and the floor (a bare web view) against the
loopback test pages, interleaved, and writes bench/RESULTS.md.

Run it under an X server (scripts/bench starts one Xvfb for the whole run).
Each run starts the program with a fresh HOME, XDG folders and TMPDIR and its
own session bus, waits first for a quiet machine, and goes through, in one
process:

  ready       launch -> the first page's onload (its beacon)
  first paint launch -> two animation frames after that onload (its beacon)
  memory      PSS of the whole process tree, 1 s after ready
  idle        CPU time of the tree over 10 s, from max(ready + 1 s, first paint)
  navigate    the second page asked for -> its onload. Ours: the address is
              typed into the Address box with xdotool, then the clock starts
              and Return is pressed. Floor: the clock starts, then the floor
              is told "load ADDRESS" on its standard input (load_uri)
  growth      200 further navigations over the 20 pages: the first 20, then
              180 more, each run as a chain in which every page opens the
              next from its onload (only a chain's first page is typed in /
              load_uri'd). PSS after all 200 minus PSS after the first 20,
              each read 1 s after the last onload of its chain
"""

import argparse
import datetime
import json
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import loopback_server  # noqa: E402

CLK_TCK = os.sysconf("SC_CLK_TCK")
BEACON_TIMEOUT = 30.0
NAV_TIMEOUT = 8.0
GROWTH_TIMEOUT = 120.0
GROWTH_FIRST = 20
GROWTH_ALL = 200
IDLE_SECONDS = 10.0


# --- the process tree ---------------------------------------------------------

def _stat_fields(pid):
    with open(f"/proc/{pid}/stat") as f:
        text = f.read()
    # The command name may hold spaces and parentheses; the fields follow the last ")".
    return text[text.rindex(")") + 2:].split()


def _start_time(pid):
    try:
        return int(_stat_fields(pid)[19])
    except (OSError, ValueError, IndexError):
        return None


class ProcessTree:
    """A program and every process it started. Remembers each process it has
    seen (by pid and start time, so that a reused pid is never taken for it)
    so that none outlives the run."""

    def __init__(self, root):
        self.root = root
        self.seen = {}

    def pids(self):
        children = {}
        for name in os.listdir("/proc"):
            if not name.isdigit():
                continue
            try:
                ppid = int(_stat_fields(name)[1])
            except (OSError, ValueError, IndexError):
                continue
            children.setdefault(ppid, []).append(int(name))
        tree, todo = [], [self.root]
        while todo:
            pid = todo.pop()
            tree.append(pid)
            todo.extend(children.get(pid, []))
        for pid in tree:
            self.seen.setdefault(pid, _start_time(pid))
        return tree

    def pss_kib(self):
        total = 0
        for pid in self.pids():
            try:
                with open(f"/proc/{pid}/smaps_rollup") as f:
                    for line in f:
                        if line.startswith("Pss:"):
                            total += int(line.split()[1])
                            break
            except OSError:
                pass  # gone in the meantime
        return total

    def cpu_ticks(self):
        total = 0
        for pid in self.pids():
            try:
                fields = _stat_fields(pid)
                total += int(fields[11]) + int(fields[12])  # utime, stime
            except (OSError, ValueError, IndexError):
                pass
        return total

    def alive(self):
        return [pid for pid, started in self.seen.items() if started is not None and _start_time(pid) == started]

    def end(self, process, grace=5.0):
        """Asks the program to end, then ends whatever of the tree is left."""
        self.pids()
        if process.poll() is None:
            process.terminate()
        try:
            process.wait(timeout=grace)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
        deadline = time.monotonic() + grace
        while self.alive() and time.monotonic() < deadline:
            time.sleep(0.05)
        for pid in self.alive():
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        deadline = time.monotonic() + grace
        while self.alive() and time.monotonic() < deadline:
            time.sleep(0.05)


def machine_ticks():
    """(busy, total) CPU ticks of the whole machine since boot."""
    with open("/proc/stat") as f:
        fields = [int(x) for x in f.readline().split()[1:]]
    idle = fields[3] + fields[4]  # idle, iowait
    total = sum(fields[:8])
    return total - idle, total


# Shared libraries whose pages a run's PSS shares with any other process that
# maps them: another browser engine or another X server (its GLX loads the
# software GL stack) running beside the benchmark changes the figure.
SHARED_STACK = ("libwebkit2gtk-4.1", "libLLVM")


def foreign_stack_users():
    """Processes other than this benchmark's X server that map the engine or
    the GL stack."""
    ours = set()
    parent = os.getppid()  # xvfb-run's shell: its children are our X server and us
    for name in os.listdir("/proc"):
        if name.isdigit():
            try:
                if int(_stat_fields(name)[1]) == parent:
                    ours.add(int(name))
            except (OSError, ValueError, IndexError):
                pass
    users = []
    for name in os.listdir("/proc"):
        if not name.isdigit() or int(name) in ours or int(name) == os.getpid():
            continue
        try:
            with open(f"/proc/{name}/maps") as f:
                if any(lib in f.read() for lib in SHARED_STACK):
                    users.append(int(name))
        except OSError:
            pass
    return users


def wait_for_quiet(limit, threshold=0.10, window=0.5):
    """Waits, at most `limit` seconds, until no other work keeps the cores busy
    and no other process shares the engine's libraries: figures taken while a
    compiler or another engine runs on the two cores mean little. Returns what
    was still in the way, empty when the machine is quiet."""
    deadline = time.monotonic() + limit
    while True:
        b0, t0 = machine_ticks()
        time.sleep(window)
        b1, t1 = machine_ticks()
        share = (b1 - b0) / max(1, t1 - t0)
        others = foreign_stack_users()
        in_the_way = []
        if share >= threshold:
            in_the_way.append(f"{100 * share:.0f} % of the cores busy")
        if others:
            in_the_way.append(f"{len(others)} other processes mapping the engine or GL libraries")
        if not in_the_way or time.monotonic() >= deadline:
            return in_the_way


def sleep_until(t):
    left = t - time.monotonic()
    if left > 0:
        time.sleep(left)


# --- how a page is opened -----------------------------------------------------

def xdotool(*args, check=True):
    return subprocess.run(["xdotool", *args], check=check, capture_output=True, text=True, timeout=30)


def focus_window_of(process):
    """Gives the program's window the keyboard focus, as a user's click
    would (there is no window manager to do it)."""
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline:
        found = xdotool("search", "--onlyvisible", "--pid", str(process.pid), check=False)
        ids = found.stdout.split()
        if ids:
            xdotool("windowfocus", "--sync", ids[-1])
            return
        time.sleep(0.05)
    raise RuntimeError("the program's window did not appear")


class AddressBoxDriver:
    """Opens pages as a user does: the Address box (focused at start), select
    all, type, Return."""

    def __init__(self, process):
        self.process = process

    def attach(self):
        focus_window_of(self.process)

    def type_address(self, url):
        xdotool("key", "ctrl+a", "type", "--delay", "2", url)

    def submit(self):
        xdotool("key", "Return")

    def open(self, url):
        # "type" takes every argument after it as text: Return goes on its own.
        xdotool("key", "ctrl+a", "type", "--delay", "1", url)
        xdotool("key", "Return")


class StdinDriver:
    """The floor's way: a "load ADDRESS" line, run as webkit_web_view_load_uri()."""

    def __init__(self, process):
        self.process = process
        self.pending = None

    def attach(self):
        focus_window_of(self.process)  # as for the browser, so that both are the active window

    def type_address(self, url):
        self.pending = url

    def submit(self):
        self.process.stdin.write(f"load {self.pending}\n".encode())
        self.process.stdin.flush()

    def open(self, url):
        self.type_address(url)
        self.submit()


# --- one run -----------------------------------------------------------------

def fresh_environment(base):
    """A private HOME, XDG folders and TMPDIR, all under one new folder."""
    root = tempfile.mkdtemp(prefix="vesko-bench-")
    env = dict(os.environ)
    for key in ("HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME",
                "XDG_RUNTIME_DIR", "TMPDIR"):
        path = os.path.join(root, key.lower())
        os.makedirs(path, mode=0o700)
        env[key] = path
    env.pop("DBUS_SESSION_BUS_ADDRESS", None)
    env.pop("AT_SPI_BUS_ADDRESS", None)
    env.update(base)
    return root, env


class SessionBus:
    """A private session bus for one run, as a desktop session has. Without
    one, GLib would start a bus for the whole X display on first use, and the
    accessibility bus it brings would point every later run at the first
    run's (deleted) runtime folder."""

    def __init__(self, env):
        self.process = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
        self.tree = ProcessTree(self.process.pid)
        self.address = self.process.stdout.readline().decode().strip()
        if not self.address:
            raise RuntimeError("dbus-daemon did not start")

    def end(self):
        self.tree.end(self.process, grace=2.0)
        self.process.stdout.close()


def run_once(server, program, run_id, growth=True, idle=True):
    kind, path, extra_env = program["kind"], program["path"], program.get("env", {})
    root, env = fresh_environment(extra_env)
    bus = SessionBus(env)
    env["DBUS_SESSION_BUS_ADDRESS"] = bus.address
    log = open(os.path.join(root, "log.txt"), "w")
    seq = 0
    url = server.page_url(0, run_id, seq)
    result = {}
    failed = False
    m0 = machine_ticks()
    t_launch = time.monotonic()
    process = subprocess.Popen([path, url], stdin=subprocess.PIPE if kind == "stdin" else subprocess.DEVNULL,
                               stdout=log, stderr=subprocess.STDOUT, env=env, cwd=env["HOME"])
    tree = ProcessTree(process.pid)
    driver = (StdinDriver if kind == "stdin" else AddressBoxDriver)(process)
    try:
        t_load = server.beacons.wait("load", run_id, seq, BEACON_TIMEOUT)
        if t_load is None:
            raise RuntimeError("the first page never reported onload")
        result["ready"] = t_load - t_launch
        result["request"] = server.beacons.wait("request", run_id, seq, 0) - t_launch
        t_paint = server.beacons.wait("paint", run_id, seq, BEACON_TIMEOUT)
        if t_paint is None:
            raise RuntimeError("the first page never reported a frame")
        result["paint"] = t_paint - t_launch

        sleep_until(t_load + 1.0)
        result["memory"] = tree.pss_kib() / 1024.0

        if idle:
            sleep_until(max(t_load + 1.0, t_paint))
            c0, t0 = tree.cpu_ticks(), time.monotonic()
            time.sleep(IDLE_SECONDS)
            c1, t1 = tree.cpu_ticks(), time.monotonic()
            result["idle"] = 100.0 * (c1 - c0) / CLK_TCK / (t1 - t0)

        # What else ran on the machine from launch to here (the driver's own
        # share included): the figures' context.
        m1 = machine_ticks()
        result["others"] = 100.0 * max(0, (m1[0] - m0[0]) - tree.cpu_ticks()) / max(1, m1[1] - m0[1])

        driver.attach()
        seq += 1
        driver.type_address(server.page_url(1, run_id, seq))
        time.sleep(0.3)
        t0 = time.monotonic()
        driver.submit()
        t1 = server.beacons.wait("load", run_id, seq, NAV_TIMEOUT)
        if t1 is None:
            raise RuntimeError("the second page never reported onload")
        result["navigate"] = (t1 - t0) * 1000.0
        result["nav_request"] = (server.beacons.wait("request", run_id, seq, 0) - t0) * 1000.0

        if growth:
            # Chains of page-driven navigations (see loopback_server): each
            # page, once loaded, opens the next, so that 200 navigations take
            # seconds rather than minutes of typing, with no race between the
            # typing and the window writing the finished page's address into
            # the box. Only each chain's first page is typed in (or load_uri'd).
            first = None
            for last in (seq + GROWTH_FIRST, seq + GROWTH_ALL):
                time.sleep(0.5)
                start = seq + 1
                driver.open(server.page_url(start, run_id, start, to=last))
                if server.beacons.wait("load", run_id, last, GROWTH_TIMEOUT) is None:
                    raise RuntimeError(f"navigation {last - 1} never reported onload")
                seq = last
                time.sleep(1.0)
                if first is None:
                    first = tree.pss_kib()
            result["growth"] = (tree.pss_kib() - first) / 1024.0
            result["growth_base"] = first / 1024.0
    except RuntimeError:
        failed = True
        subprocess.run(["import", "-window", "root", os.path.join(root, "screen.png")], check=False)
        raise
    finally:
        if process.stdin:
            process.stdin.close()
        tree.end(process)
        bus.end()
        log.close()
        if failed or os.environ.get("VESKO_BENCH_KEEP"):
            print(f"bench: the run's files are kept in {root}", file=sys.stderr)
        else:
            shutil.rmtree(root, ignore_errors=True)
    return result


# --- the report --------------------------------------------------------------

FIGURES = [
    # key, caption, unit, format
    ("ready", "ready (launch → onload)", "s", "{:.3f}"),
    ("paint", "first paint (launch → 2 frames after onload)", "s", "{:.3f}"),
    ("request", "page asked for (launch → its request at the server; no target)", "s", "{:.3f}"),
    ("navigate", "navigate (Return / load_uri → onload)", "ms", "{:.0f}"),
    ("memory", "memory (PSS of the tree, 1 s after ready)", "MiB", "{:.1f}"),
    ("growth", "growth (PSS after 200 navigations − after 20)", "MiB", "{:.1f}"),
    ("idle", "idle (CPU over 10 s, % of one core)", "%", "{:.2f}"),
]


def summary(values):
    return statistics.median(values), min(values), max(values)


def targets(med, ours, floor):
    """(text, holds) per figure for the browser, against the floor's medians."""
    def ratio(key):
        return med[("ours", key)] / med[("floor", key)] if med[("floor", key)] else float("inf")
    rules = {
        "ready": ("≤ 0.90 × floor", lambda: ratio("ready") <= 0.90),
        "paint": ("≤ 0.35 × floor", lambda: ratio("paint") <= 0.35),
        "navigate": ("median ≤ 150 ms, max ≤ 300 ms",
                     lambda: med[("ours", "navigate")] <= 150 and max(ours["navigate"]) <= 300),
        "memory": ("≤ 0.80 × floor", lambda: ratio("memory") <= 0.80),
        "growth": ("≤ 5 % of the PSS after 20",
                   lambda: med[("ours", "growth")] <= 0.05 * statistics.median(ours["growth_base"])),
        "idle": ("≤ 0.5 %", lambda: med[("ours", "idle")] <= 0.5),
    }
    return {key: (text, rule()) for key, (text, rule) in rules.items()
            if ours.get(key) and floor.get(key)}


def handler_rows(path):
    with open(path) as f:
        data = json.load(f)
    rows = []
    for b in data["benchmarks"]:
        if b.get("run_type", "iteration") != "iteration":
            continue
        scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[b["time_unit"]]
        rows.append((b["name"], b["real_time"] * scale, b["cpu_time"] * scale))
    return rows


def write_report(path, results, rounds, growth_rounds, server, handlers, programs, failures, not_quiet):
    med = {}
    lines = [f"# Benchmark results — {datetime.date.today().isoformat()}", ""]
    try:
        nodes = sorted(n for n in os.listdir("/dev/dri") if n.startswith("renderD"))
    except OSError:
        nodes = []
    gpu = f"DRM render nodes: {', '.join(nodes)}" if nodes else "no DRM render node (no GPU; GL is Mesa llvmpipe)"
    lines.append(f"Machine: {os.cpu_count()} cores, Xvfb 1280×1024×24, {gpu}; "
                 f"{rounds} rounds, the first discarded, runs interleaved ours / floor; growth in the "
                 f"first {min(rounds, growth_rounds)} rounds only (it takes half a minute a run). "
                 f"Test page: {len(server.resources['/p/0'][1]) // 1024} KiB of HTML, "
                 f"{server.page_bytes(0) // 1024} KiB with its script and pictures, served with "
                 "`Cache-Control: no-store` from 127.0.0.1.")
    lines.append("")
    lines.append("Figures are median (min – max) over the kept rounds.")
    lines.append("")
    kept = {}
    for name, runs in results.items():
        keys = {k for r in runs for k in r}
        kept[name] = {k: [r[k] for r in runs[1:] if k in r] for k in keys}
    for name in kept:
        for key, values in kept[name].items():
            if values:
                med[(name, key)] = statistics.median(values)
    verdict = targets(med, kept["ours"], kept["floor"])
    lines.append("| figure | ours | floor | ours ÷ floor | target | holds |")
    lines.append("|---|---|---|---|---|---|")
    for key, caption, unit, fmt in FIGURES:
        if key not in kept["ours"] or not kept["ours"][key]:
            continue
        o, f = summary(kept["ours"][key]), summary(kept["floor"][key])
        cell = lambda s: f"{fmt.format(s[0])} {unit} ({fmt.format(s[1])} – {fmt.format(s[2])})"
        ratio = f"{o[0] / f[0]:.2f}" if f[0] > 0 else "–"
        text, holds = verdict.get(key, ("", None))
        lines.append(f"| {caption} | {cell(o)} | {cell(f)} | {ratio} | {text} | "
                     f"{'yes' if holds else 'no' if holds is not None else ''} |")
    if "growth_base" in kept["ours"] and kept["ours"]["growth_base"]:
        lines.append("")
        lines.append(f"PSS after the first 20 navigations: ours "
                     f"{statistics.median(kept['ours']['growth_base']):.1f} MiB, floor "
                     f"{statistics.median(kept['floor']['growth_base']):.1f} MiB (medians).")
    others_cpu = [v for name in ("ours", "floor") for v in kept[name].get("others", [])]
    if others_cpu:
        lines.append("")
        lines.append(f"Other work on the machine while the runs measured (launch to the end of idle, "
                     f"the driver included), in % of all cores: median {statistics.median(others_cpu):.1f}, "
                     f"max {max(others_cpu):.1f}.")
    if not_quiet:
        lines.append("")
        lines.append(f"Runs started on a machine that was not quiet ({len(not_quiet)}): " + "; ".join(not_quiet) + ".")
    if failures:
        lines.append("")
        lines.append("Runs that failed and were run again: " + "; ".join(failures) + ".")
    others = [n for n in kept if n not in ("ours", "floor")]
    if others:
        lines.append("")
        lines.append("Other variants (same rounds):")
        lines.append("")
        lines.append("| variant | " + " | ".join(c for k, c, u, f in FIGURES) + " |")
        lines.append("|---|" + "---|" * len(FIGURES))
        for n in others:
            cells = []
            for key, caption, unit, fmt in FIGURES:
                v = kept[n].get(key)
                cells.append(f"{fmt.format(statistics.median(v))} {unit}" if v else "–")
            lines.append(f"| {n} ({programs[n]['path']} {programs[n].get('env', '')}) | " + " | ".join(cells) + " |")
    if handlers:
        lines.append("")
        lines.append("## Window handlers against a fake pane (Google Benchmark, target under 5 µs each)")
        lines.append("")
        lines.append("| handler | real time | CPU time | under 5 µs |")
        lines.append("|---|---|---|---|")
        for name, real, cpu in handlers:
            if name.endswith("Written"):
                continue
            lines.append(f"| {name} | {real:.3f} µs | {cpu:.3f} µs | {'yes' if real < 5 else 'no'} |")
        written = [h for h in handlers if h[0].endswith("Written")]
        if written:
            lines.append("")
            lines.append("The Address box and the caption are written once per turn of the loop, after "
                         "however many Ready and Title changed events came in it. An event together with "
                         "that write, as if each event came alone in its turn (no target):")
            lines.append("")
            lines.append("| event and write | real time | CPU time |")
            lines.append("|---|---|---|")
            for name, real, cpu in written:
                lines.append(f"| {name} | {real:.3f} µs | {cpu:.3f} µs |")
    lines.append("")
    lines.append("## How it is measured")
    lines.append("")
    lines.append("```")
    lines.append(__doc__.split("process:\n\n", 1)[1].rstrip())
    lines.append("```")
    lines.append("")
    lines.append("The floor (`bench/floor.c`) is one 649×447 window holding one web view with the "
                 "engine's default settings and context. Times come from `time.monotonic()` in the "
                 "driver and in the loopback server (one process, one clock); CPU from "
                 "utime + stime in `/proc/PID/stat`, PSS from `/proc/PID/smaps_rollup`, each summed "
                 "over the program and every process it started (web, network, sandbox helpers).")
    lines.append("")
    lines.append("Each run has its own session bus (`dbus-daemon --session`), as a desktop session has: "
                 "without one, GLib starts a bus for the whole X display on first use and the "
                 "accessibility bus it brings leaves later runs pointing at the first run's deleted "
                 "runtime folder. Both windows have the keyboard focus (the browser presents its window, "
                 "so does the floor; the driver focuses both again before navigating): the engine keeps "
                 "far more memory across navigations in an active window than in an inactive one. "
                 "Before each run the driver waits, up to 20 s, for a quiet machine: cores under 10 % "
                 "busy and no other process mapping the engine or the GL stack, whose pages PSS would "
                 "share with it.")
    lines.append("")
    with open(path, "w") as f:
        f.write("\n".join(lines))
    return "\n".join(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", required=True, help="the build folder with vesko_shell, floor, handlers_bench")
    parser.add_argument("--rounds", type=int, default=7)
    parser.add_argument("--results", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "RESULTS.md"))
    parser.add_argument("--quiet-wait", type=float, default=20.0,
                        help="seconds to wait at most, before each run, for other work to stop")
    parser.add_argument("--growth-rounds", type=int, default=4,
                        help="rounds (from the first) that also measure growth; it takes half a minute a run")
    parser.add_argument("--no-growth", action="store_true")
    parser.add_argument("--no-idle", action="store_true")
    parser.add_argument("--no-handlers", action="store_true")
    parser.add_argument("--variant", action="append", default=[], metavar="NAME=KIND:PATH[:KEY=VALUE,...]",
                        help="another program to run in the same rounds (KIND: stdin or address-box)")
    args = parser.parse_args()

    programs = {
        "ours": {"kind": "address-box", "path": os.path.join(os.path.abspath(args.build), "bench", "vesko_shell")},
        "floor": {"kind": "stdin", "path": os.path.join(os.path.abspath(args.build), "bench", "floor")},
    }
    for v in args.variant:
        name, rest = v.split("=", 1)
        parts = rest.split(":")
        env = dict(kv.split("=", 1) for kv in parts[2].split(",")) if len(parts) > 2 and parts[2] else {}
        programs[name] = {"kind": parts[0], "path": parts[1], "env": env}

    handlers = None
    if not args.no_handlers:
        out = os.path.join(tempfile.gettempdir(), "vesko_handlers_bench.json")
        subprocess.run([os.path.join(args.build, "bench", "handlers_bench"), f"--benchmark_out={out}",
                        "--benchmark_out_format=json"], check=True, stdout=subprocess.DEVNULL)
        handlers = handler_rows(out)

    server = loopback_server.LoopbackServer().start()
    print(f"bench: serving on 127.0.0.1:{server.port}", flush=True)
    results = {name: [] for name in programs}
    failures = []
    not_quiet = []
    started = time.monotonic()
    for rnd in range(args.rounds):
        growth = not args.no_growth and rnd < args.growth_rounds
        for name, program in programs.items():
            run_id = f"{name}{rnd}"
            in_the_way = wait_for_quiet(args.quiet_wait)
            if in_the_way:
                print(f"bench: the machine is not quiet ({', '.join(in_the_way)}); running anyway", flush=True)
                not_quiet.append(f"round {rnd} {name}: {', '.join(in_the_way)}")
            try:
                r = run_once(server, program, run_id, growth=growth, idle=not args.no_idle)
            except RuntimeError as e:
                # Told, and run once more: a figure from a broken run means nothing.
                print(f"bench: round {rnd} {name} failed: {e}; running it again", flush=True)
                failures.append(f"round {rnd} {name}: {e}")
                r = run_once(server, program, run_id + "again", growth=growth, idle=not args.no_idle)
            results[name].append(r)
            shown = ", ".join(f"{k} {v:.3f}" for k, v in r.items())
            print(f"bench: round {rnd}{' (discarded)' if rnd == 0 else ''} {name}: {shown}", flush=True)
    server.stop()
    print(f"bench: {time.monotonic() - started:.0f} s of runs", flush=True)
    print(write_report(args.results, results, args.rounds, 0 if args.no_growth else args.growth_rounds, server, handlers,
                       programs, failures, not_quiet))


if __name__ == "__main__":
    main()

# SPDX-License-Identifier: GPL-3.0-or-later
"""The figures of bench/ratios, measured in the Release tree given as the first
argument. Every figure is a ratio of two things measured in the same run."""

import argparse
import atexit
import fcntl
import json
import os
import socket
import statistics
import struct
import subprocess
import sys
import tempfile
import time

TOTAL = "SOFTWARE\\Dialmeter\\Variables\\Total"


class TunLink:
    """A TUN interface held open: up and running while it is set up, as a dial-up
    link is while connected."""

    def __init__(self):
        self.fd = os.open("/dev/net/tun", os.O_RDWR)
        request = struct.pack("16sH", b"dmbench%d", 0x0001 | 0x1000)  # IFF_TUN | IFF_NO_PI
        self.name = fcntl.ioctl(self.fd, 0x400454CA, request)[:16].rstrip(b"\0").decode()  # TUNSETIFF
        self.sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)

    def set_up(self, up):
        request = struct.pack("16sH", self.name.encode(), 0)
        flags = struct.unpack("16sH", fcntl.ioctl(self.sock, 0x8913, request)[:18])[1]  # SIOCGIFFLAGS
        flags = flags | 1 if up else flags & ~1
        fcntl.ioctl(self.sock, 0x8914, struct.pack("16sH", self.name.encode(), flags))  # SIOCSIFFLAGS


def make_link():
    try:
        return TunLink()
    except OSError as error:
        print(f"note: no real link ({error}); the meter runs with no link up", file=sys.stderr)
        return None


class Tree:
    def __init__(self, folder):
        self.bin = os.path.join(folder, "bin")

    def path(self, program):
        return os.path.join(self.bin, program)


def headless_env(home=None):
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    env["QT_QPA_PLATFORM"] = "offscreen"
    if home:
        env["DIALMETER_HOME"] = home
    return env


def store(tree, home, *args):
    result = subprocess.run([tree.path("dialmeter-store"), *args], env=headless_env(home),
                            capture_output=True, text=True, check=False)
    return result.stdout.strip()


def new_home(tree, link):
    home = tempfile.mkdtemp(prefix="dialmeter-bench-")
    if link:
        store(tree, home, "set", "SOFTWARE\\Dialmeter\\Options\\Interfaces", link.name)
    return home


def seconds_of(text):
    try:
        hours, minutes, seconds = (int(part) for part in text.split(":"))
        return hours * 3600 + minutes * 60 + seconds
    except ValueError:
        return -1


def process_figures(pid):
    """CPU seconds, context switches (wake-ups) of every thread, peak RSS in kB.
    CPU time comes from the scheduler's nanosecond count of each thread: the
    clock ticks of /proc/<pid>/stat are too coarse for a process this quiet."""
    cpu = 0.0
    switches = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        with open(f"/proc/{pid}/task/{task}/schedstat") as schedstat:
            cpu += int(schedstat.read().split()[0]) / 1e9
        with open(f"/proc/{pid}/task/{task}/status") as status:
            for line in status:
                if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                    switches += int(line.split()[1])
    peak = 0
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmHWM"):
                peak = int(line.split()[1])
    return cpu, switches, peak


STARTED = []


@atexit.register
def stop_everything_started():
    for process in STARTED:
        if process.poll() is None:
            process.kill()


def start(command, env):
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    STARTED.append(process)
    return process


def start_meter(tree, home):
    return start([tree.path("dialmeter")], headless_env(home))


def start_floor(tree, tick_file):
    return start([tree.path("bench_floor"), tick_file], headless_env())


def stop(process):
    process.terminate()
    process.wait(timeout=15)


def wait_for_line(path, started, word, timeout=20):
    while time.monotonic() - started < timeout:
        try:
            with open(path, "rb") as file:
                if word in file.read():
                    return time.monotonic() - started
        except FileNotFoundError:
            pass
        time.sleep(0.001)
    raise RuntimeError(f"no {word!r} in {path} after {timeout} s")


def journal_of(home):
    return os.path.join(home, time.strftime("%Y") + ".txt")


def startup_times(tree, link, runs=5):
    """Seconds from the start of the process to its first tick, meter and floor
    alternately, the median of each."""
    if link:
        link.set_up(True)
    meter, floor = [], []
    for _ in range(runs):
        home = new_home(tree, link)
        started = time.monotonic()
        process = start_meter(tree, home)
        # With a link up the first tick writes the journal; without one, the
        # first tick is not visible from outside, and the store's date written
        # at load stands for it.
        if link:
            meter.append(wait_for_line(journal_of(home), started, b"Connexion"))
        else:
            while not store(tree, home, "get", "SOFTWARE\\Dialmeter\\Compte Rendu\\Date"):
                time.sleep(0.001)
            meter.append(time.monotonic() - started + 1.0)
        stop(process)
        tick_file = os.path.join(home, "floor-tick")
        started = time.monotonic()
        process = start_floor(tree, tick_file)
        floor.append(wait_for_line(tick_file, started, b"tick"))
        stop(process)
    if link:
        link.set_up(False)
    return statistics.median(meter), statistics.median(floor)


def cost(tree, link, seconds):
    """CPU seconds per hour, wake-ups per minute and peak RSS of the meter and the
    floor, running side by side for `seconds`."""
    if link:
        link.set_up(True)
    home = new_home(tree, link)
    meter = start_meter(tree, home)
    floor = start_floor(tree, os.path.join(home, "floor-tick"))
    time.sleep(5)  # both loaded
    before = [process_figures(p.pid) for p in (meter, floor)]
    started = time.monotonic()
    time.sleep(seconds)
    after = [process_figures(p.pid) for p in (meter, floor)]
    elapsed = time.monotonic() - started
    for process in (meter, floor):
        stop(process)
    if link:
        link.set_up(False)
    figures = []
    for (cpu0, switches0, _), (cpu1, switches1, peak) in zip(before, after):
        figures.append({"cpu_s_per_h": (cpu1 - cpu0) / elapsed * 3600,
                        "wakeups_per_min": (switches1 - switches0) / elapsed * 60,
                        "peak_rss_kb": peak})
    return figures


def accuracy(tree, link, minutes, busy):
    """Counted seconds over wall-clock seconds of a connection of `minutes`."""
    home = new_home(tree, link)
    meter = start_meter(tree, home)
    while not store(tree, home, "get", "SOFTWARE\\Dialmeter\\Compte Rendu\\Date"):
        time.sleep(0.05)
    time.sleep(2)
    loads = [start(["sh", "-c", "while :; do :; done"], None) for _ in range(os.cpu_count() if busy else 0)]
    link.set_up(True)
    started = time.monotonic()
    time.sleep(minutes * 60)
    link.set_up(False)
    wall = time.monotonic() - started
    for load in loads:
        load.kill()
    time.sleep(2.5)
    stop(meter)
    return seconds_of(store(tree, home, "get", TOTAL)) / wall


def google_benchmarks(tree):
    times = {}
    for program in ("bench_shape", "bench_records", "bench_core", "bench_language", "bench_console"):
        output = subprocess.run([tree.path(program), "--benchmark_format=json"], env=headless_env(),
                                capture_output=True, text=True, check=True).stdout
        for entry in json.loads(output)["benchmarks"]:
            scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[entry["time_unit"]]
            times[entry["name"]] = (entry["real_time"] * scale, entry.get("label", ""))
    return times


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("tree")
    parser.add_argument("--seconds", type=int, default=120)
    parser.add_argument("--accuracy-minutes", type=float, default=10)
    args = parser.parse_args()
    tree = Tree(args.tree)
    link = make_link()

    rows = []

    def row(what, value, target, unit=""):
        rows.append((what, value, target, unit))
        print(f"  {what:<52} {value:>12.4g}{unit:<3} {target}", flush=True)

    print("Whole process, meter / floor (headless, side by side)", flush=True)
    meter_start, floor_start = startup_times(tree, link)
    meter_cost, floor_cost = cost(tree, link, args.seconds)
    cpu = meter_cost["cpu_s_per_h"] / max(floor_cost["cpu_s_per_h"], 1e-9)
    rss = meter_cost["peak_rss_kb"] / floor_cost["peak_rss_kb"]
    startup = meter_start / floor_start
    row("CPU time, meter / floor", cpu, "target <= 1.2")
    row("wake-ups, meter / floor", meter_cost["wakeups_per_min"] / max(floor_cost["wakeups_per_min"], 1e-9), "")
    row("peak RSS, meter / floor", rss, "target <= 1.15")
    row("start-up to the first tick, meter / floor", startup, "target <= 1.3")
    row("meter CPU, share of one core connected", meter_cost["cpu_s_per_h"] / 36, "target < 0.05", "%")
    # What this machine charges any Qt program that repaints a label each
    # second, beside which the share above is to be read.
    row("floor CPU, share of one core", floor_cost["cpu_s_per_h"] / 36, "", "%")
    print(f"  (meter {meter_cost['cpu_s_per_h']:.2f} s/h, {meter_cost['wakeups_per_min']:.0f} wake-ups/min, "
          f"{meter_cost['peak_rss_kb'] / 1024:.1f} MB, first tick {meter_start * 1000:.0f} ms; floor "
          f"{floor_cost['cpu_s_per_h']:.2f} s/h, {floor_cost['wakeups_per_min']:.0f} wake-ups/min, "
          f"{floor_cost['peak_rss_kb'] / 1024:.1f} MB, first tick {floor_start * 1000:.0f} ms; "
          f"{'a TUN link up' if link else 'no link'})", flush=True)

    print("Hot and heavy paths (Google Benchmark), time / target", flush=True)
    times = google_benchmarks(tree)
    region = times["MakeRegionFromSkinBox"][0] / times["QtRegionFromMaskBitmap"][0]
    row("MakeRegion / Qt's QRegion(QBitmap)", region, "target <= 1.0")
    row("year report, 100 users x 12 months / 20 ms", times["YearReportOf100UsersOver12Months"][0] / 0.020, "target <= 1")
    row("journal viewer load, 1,000,000 lines / 1 s", times["JournalViewerLoadOfAMillionLines"][0] / 1.0, "target <= 1")
    tick, label = times["ConnectedTick"]
    row(f"one tick ({label}) / one second", tick / 1.0, "")
    for name in ("ConsoleRepaintOfASecond", "ConnectedTickPastAWarning", "PeriodOutlookFigures", "DurationAddSecond", "DurationCompare",
                 "StoreRead", "StoreWrite", "ApplyLanguageToAllWindows"):
        print(f"  {name:<52} {times[name][0] * 1e6:>12.4g} us", flush=True)

    if link and args.accuracy_minutes > 0:
        print(f"Counting accuracy, counted / wall-clock seconds over {args.accuracy_minutes:g} minutes", flush=True)
        row("idle machine", accuracy(tree, link, args.accuracy_minutes, busy=False), "target >= 0.999")
        row("every core busy", accuracy(tree, link, args.accuracy_minutes, busy=True), "target >= 0.99")
    elif args.accuracy_minutes > 0:
        print("Counting accuracy: needs a real link (run as root)", flush=True)

    print(f"ratios: cpu {cpu:.3f} rss {rss:.3f} startup {startup:.3f} region {region:.3f}")


if __name__ == "__main__":
    main()

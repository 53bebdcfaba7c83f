#!/usr/bin/env python3
"""./dev mutate [PATH...] [--sample N] [--seed S] [--jobs J] [--timeout SECONDS] [--list] [--bar]

Makes one small fault at a time in the given C++ sources (default: every file under
pointeditor/ and missioneditor/ that is not a test), rebuilds, and runs the unit test programs
that the fault reached. A mutant that no test notices survives and is listed; the mutants in
equivalent.txt cannot change behaviour and are left out.

Each worker owns a scratch copy of the repository (never the working tree) with its own build
directory, kept between runs so that only what changed is built again.
"""

import argparse
import collections
import concurrent.futures
import hashlib
import os
import pathlib
import random
import re
import shutil
import signal
import subprocess
import sys
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
import mutants as mutation  # noqa: E402

ROOT = pathlib.Path(__file__).resolve().parents[2]
DEFAULT_PATHS = ["pointeditor", "missioneditor"]
# --bar: every folder that holds program code, each sampled alike with a fixed seed, so the run
# can fail where one folder is tested less sharply than the others.
BAR_FOLDERS = ["common", "pointeditor/data", "pointeditor/edit", "pointeditor/display",
               "pointeditor/view", "pointeditor/inspector", "pointeditor/shell", "missioneditor",
               "tools/pointtool"]
BAR_PER_FOLDER = 10
BAR_SEED = 2027
BAR_SHARE = 90
EQUIVALENT = ROOT / "tools/mutate/equivalent.txt"


def is_test_file(relative):
    parts = pathlib.PurePosixPath(relative).parts
    return any(p in ("tests", "test", "bench", "fuzz") for p in parts) or re.search(r"_tests?\.(cpp|h)$", relative)


def repository_files():
    out = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=ROOT,
                         check=True, capture_output=True).stdout
    return [f for f in out.decode().split("\0") if f and (ROOT / f).is_file()]


def sources(paths, files):
    chosen = []
    for f in files:
        if not f.endswith((".cpp", ".h")) or is_test_file(f):
            continue
        if any(f == p or f.startswith(p.rstrip("/") + "/") for p in paths):
            chosen.append(f)
    return sorted(chosen)


def read_equivalent():
    """Lines `FILE: `ORIGINAL` -> `REPLACEMENT` in `CODE` -- reason`."""
    known = set()
    if not EQUIVALENT.exists():
        return known
    pattern = re.compile(r"^(\S+): `(.*?)` -> `(.*?)` in `(.*)` -- .+$")
    for number, line in enumerate(EQUIVALENT.read_text().splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        m = pattern.match(line)
        if not m:
            sys.exit(f"{EQUIVALENT}:{number}: not `FILE: `A` -> `B` in `CODE` -- reason`")
        known.add(m.groups())
    return known


class Worker:
    def __init__(self, base, index, files):
        self.dir = base / f"w{index}"
        self.build = self.dir / "build"
        self.files = files

    def sync(self):
        """Copies what differs, so that unchanged files keep their times and are not rebuilt."""
        self.dir.mkdir(parents=True, exist_ok=True)
        wanted = set(self.files)
        for relative in self.files:
            source, target = ROOT / relative, self.dir / relative
            if not target.exists() or target.read_bytes() != source.read_bytes():
                target.parent.mkdir(parents=True, exist_ok=True)
                shutil.copy2(source, target)
        for path in self.dir.rglob("*"):
            relative = path.relative_to(self.dir).as_posix()
            if path.is_file() and not relative.startswith("build/") and relative not in wanted:
                path.unlink()

    def env(self):
        env = dict(os.environ)
        # Same relative layout as a developer's build inside the tree: ccache shares the objects.
        env.update(CCACHE_BASEDIR=str(self.dir), CCACHE_NOHASHDIR="1", QT_QPA_PLATFORM="offscreen")
        return env

    def configure(self):
        launcher = []
        if shutil.which("ccache"):
            launcher = ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", "-DCMAKE_C_COMPILER_LAUNCHER=ccache"]
        subprocess.run(["cmake", "-S", str(self.dir), "-B", str(self.build), "-G", "Ninja",
                        "-DTAVO_WERROR=ON", "-DTAVO_BENCH=OFF", *launcher],
                       check=True, env=self.env(), stdout=subprocess.DEVNULL)

    def programs(self):
        rows = (self.build / "test_programs.txt").read_text().split()
        return [(rows[i + 1], pathlib.Path(rows[i + 2])) for i in range(0, len(rows), 3) if rows[i] == "unit"]

    def build_tests(self, timeout=None, jobs=1):
        targets = [name for name, _ in self.programs()]
        result = subprocess.run(["cmake", "--build", str(self.build), "-j", str(jobs), "--target", *targets],
                                env=self.env(), capture_output=True, text=True, timeout=timeout)
        return result.returncode == 0, result.stdout + result.stderr

    def run_program(self, path, timeout):
        try:
            result = subprocess.run([str(path), "--gtest_brief=1", "--gtest_fail_fast"], cwd=path.parent,
                                    env=self.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                    timeout=timeout)
        except subprocess.TimeoutExpired:
            return "timed out"
        return "passed" if result.returncode == 0 else "failed"


def times(programs):
    return {path: path.stat().st_mtime_ns if path.exists() else 0 for _, path in programs}


def run_mutant(worker, mutant, limits):
    target = worker.dir / mutant.path
    original = target.read_text(encoding="utf-8", errors="surrogateescape")
    programs = worker.programs()
    before = times(programs)
    try:
        target.write_text(mutation.apply(original, mutant), encoding="utf-8", errors="surrogateescape")
        built, _ = worker.build_tests(timeout=1800)
    finally:
        target.write_text(original, encoding="utf-8", errors="surrogateescape")
    if not built:
        return "did not build", []
    after = times(programs)
    reached = sorted((path for _, path in programs if after[path] != before[path]), key=lambda p: limits[p])
    # The restored file is built at the next mutant's turn; a mutant that relinked nothing left
    # every program as it was, so no test can see it.
    for path in reached:
        outcome = worker.run_program(path, limits[path])
        if outcome != "passed":
            return ("killed" if outcome == "failed" else "timed out"), [path.name]
    return "survived", [p.name for p in reached]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("paths", nargs="*", default=DEFAULT_PATHS)
    parser.add_argument("--sample", type=int, default=0, help="try N mutants chosen at random")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--jobs", type=int, default=min(2, os.cpu_count() or 1))
    parser.add_argument("--timeout", type=float, default=0,
                        help="seconds a test program may run (default: four times its unmutated run, plus 20)")
    parser.add_argument("--list", action="store_true", help="only list the mutants")
    parser.add_argument("--scratch", default=os.environ.get("TAVO_MUTATE_DIR"))
    parser.add_argument("--bar", action="store_true",
                        help=f"{BAR_PER_FOLDER} mutants of each production folder, seed {BAR_SEED}; "
                             f"exit 1 when a folder has under {BAR_SHARE} %% killed")
    args = parser.parse_args()
    if args.bar:
        args.paths, args.sample, args.seed = BAR_FOLDERS, 0, BAR_SEED

    files = repository_files()
    paths = [os.path.relpath(os.path.abspath(p), ROOT) if os.path.exists(p) else p for p in args.paths]
    chosen = sources(paths, files)
    if not chosen:
        sys.exit("mutate: no source files under " + " ".join(args.paths))
    equivalent = read_equivalent()
    found, skipped = [], 0
    for relative in chosen:
        text = (ROOT / relative).read_text(encoding="utf-8", errors="surrogateescape")
        lines = text.split("\n")
        for m in mutation.find_mutants(relative, text):
            if (m.path, m.original, m.replacement, lines[m.line - 1].strip()) in equivalent:
                skipped += 1
            else:
                found.append(m)
    if args.bar:
        found = bar_sample(found)
    elif args.sample and args.sample < len(found):
        found = random.Random(args.seed).sample(found, args.sample)
    found.sort(key=lambda m: (m.path, m.line, m.column))
    print(f"mutate: {len(found)} mutants in {len(chosen)} files ({skipped} listed as equivalent)")
    if args.list:
        for m in found:
            print(m.describe())
        return 0

    key = hashlib.sha1(str(ROOT).encode()).hexdigest()[:8]
    base = pathlib.Path(args.scratch or f"/dev/shm/tavo-mutate-{os.getuid()}-{key}")
    workers = [Worker(base, i, files) for i in range(max(1, args.jobs))]
    start = time.monotonic()
    for w in workers:
        w.sync()
        w.configure()
    # The first worker builds alone; the others then find its objects in ccache.
    for w in workers:
        built, log = w.build_tests(jobs=len(workers))
        if not built:
            print(log[-4000:])
            sys.exit("mutate: the unmutated tree does not build")
    limits = {}
    for name, path in workers[0].programs():
        began = time.monotonic()
        if workers[0].run_program(path, 600) != "passed":
            sys.exit(f"mutate: {name} fails without any mutant; fix it first")
        limits[path.name] = time.monotonic() - began
    print(f"mutate: scratch copies ready in {time.monotonic() - start:.0f} s", flush=True)

    # Mutants of one file stay on one worker, in line order: each build then relinks once.
    queues = [[] for _ in workers]
    for index, path in enumerate(sorted({m.path for m in found})):
        queues[index % len(workers)].extend(m for m in found if m.path == path)

    results = []

    def drain(worker, queue):
        by_name = {path: args.timeout or limits.get(path.name, 60) * 4 + 20 for _, path in worker.programs()}
        for m in queue:
            outcome, programs = run_mutant(worker, m, by_name)
            if stopping:
                return
            results.append((m, outcome, programs))
            if outcome in ("survived", "timed out"):
                unreached = " (no unit test program is built from it)" if not programs else ""
                print(f"{outcome.upper()}: {m.describe()}  |  {line_of(m)}{unreached}", flush=True)
            else:
                print(f"{outcome}: {m.describe()}", flush=True)
        # Leave the copy as the tree is, built.
        worker.build_tests()

    # Ctrl-C (or a TERM) ends the run after the mutants in flight, with the report so far.
    stopping = []
    signal.signal(signal.SIGTERM, lambda *_: stopping.append(True))
    signal.signal(signal.SIGINT, lambda *_: stopping.append(True))
    with concurrent.futures.ThreadPoolExecutor(len(workers)) as pool:
        for f in [pool.submit(drain, w, q) for w, q in zip(workers, queues)]:
            f.result()

    shares = report(results, time.monotonic() - start)
    if args.bar and not stopping:
        under = {folder: share for folder, share in shares.items() if share < BAR_SHARE}
        for folder, share in sorted(under.items()):
            print(f"mutate: {folder} is under the bar: {share:.0f}% killed, {BAR_SHARE}% needed")
        return 1 if under else 0
    return 0


def bar_folder(path):
    return next(f for f in BAR_FOLDERS if path.startswith(f + "/"))


def bar_sample(found):
    by_folder = collections.defaultdict(list)
    for m in found:
        by_folder[bar_folder(m.path)].append(m)
    chosen = []
    rng = random.Random(BAR_SEED)
    for folder in BAR_FOLDERS:
        group = by_folder[folder]
        chosen.extend(rng.sample(group, min(BAR_PER_FOLDER, len(group))))
    return chosen


def line_of(m):
    return (ROOT / m.path).read_text(encoding="utf-8", errors="surrogateescape").split("\n")[m.line - 1].strip()


def report(results, seconds):
    """Prints the share killed per folder and returns it, for the --bar folders as one each."""
    folders = collections.defaultdict(collections.Counter)
    bars = collections.defaultdict(collections.Counter)
    for m, outcome, _ in results:
        folders[str(pathlib.PurePosixPath(m.path).parent)][outcome] += 1
        if any(m.path.startswith(f + "/") for f in BAR_FOLDERS):
            bars[bar_folder(m.path)][outcome] += 1
    print("\nfolder                      killed  survived  timed out  did not build")
    for folder, c in sorted(folders.items()):
        tried = c["killed"] + c["survived"] + c["timed out"]
        share = 100 * (c["killed"] + c["timed out"]) / tried if tried else 0
        print(f"{folder:<26} {c['killed']:>7} {c['survived']:>9} {c['timed out']:>10} {c['did not build']:>14}"
              f"   {share:.0f}% killed")
    total = collections.Counter(outcome for _, outcome, _ in results)
    print(f"\n({seconds:.0f} s; {total['did not build']} mutants did not build and are not counted)")
    print(f"mutants: {total['killed']} killed, {total['survived']} survived, {total['timed out']} timed out")
    shares = {}
    for folder, c in bars.items():
        tried = c["killed"] + c["survived"] + c["timed out"]
        if tried:
            shares[folder] = 100 * (c["killed"] + c["timed out"]) / tried
    return shares


if __name__ == "__main__":
    sys.exit(main())

"""Our setup against NSIS on the same payloads, in one Wine prefix, paired and alternating.
Writes the raw measurements as JSON; table.py turns them into the table.
Environment: BENCH_QUICK=1 (small payloads), BENCH_RUNS=n (timed rounds)."""
import json
import os
import shutil
import subprocess
import sys
import time
import zlib

import payloads
import winerun
import xwatch
from installers import ROOT, Nsis, Ours
from winerun import BenchError

ALL_PAYLOADS = ["empty", "file10k", "big", "small"]
# BENCH_PAYLOADS="small big" measures only those, with the empty one the others are weighed against.
_chosen = os.environ.get("BENCH_PAYLOADS", "").split()
PAYLOADS = [p for p in ALL_PAYLOADS if not _chosen or p == "empty" or p in _chosen]
WELCOME_TITLE_OURS = "bench-welcome Setup"
WELCOME_TITLE_NSIS = "VntBenchNSIS-welcome Setup"


def log(text):
    print(f"[bench {time.strftime('%H:%M:%S')}] {text}", flush=True)


def windows_path(unix):
    return "Z:" + unix.replace("/", "\\")


def check_installed(root, manifest, own_files, digest):
    """Every payload file at its place with its size, nothing else but the installer's own files;
    with digest, the bytes too."""
    found = {}
    for folder, _, names in os.walk(root):
        for n in names:
            full = os.path.join(folder, n)
            found[os.path.relpath(full, root).replace(os.sep, "/")] = os.path.getsize(full)
    expected = manifest["files"]
    missing = [p for p in expected if p not in found]
    wrong = [p for p in expected if p in found and found[p] != expected[p]]
    extra = [p for p in found if p not in expected and p not in own_files]
    if missing or wrong or extra:
        raise BenchError(f"{root} does not hold the payload: {len(missing)} missing {missing[:3]}, "
                         f"{len(wrong)} of the wrong size {wrong[:3]}, {len(extra)} unexpected {extra[:3]}")
    if digest and payloads.tree_digest(root, own_files) != manifest["digest"]:
        raise BenchError(f"{root}: the files' bytes differ from the payload's")


def check_removed(folder, key):
    if os.path.isdir(folder) and os.listdir(folder):
        raise BenchError(f"uninstall left {sorted(os.listdir(folder))[:5]} in {folder}")
    if winerun.reg_key_exists(key):
        raise BenchError(f"uninstall left the Add/Remove entry {key}")


def inflate_seconds(manifest, rounds=3):
    """Native zlib: each file deflated on its own (as both setups store them), then all inflated
    in memory; the best of a few rounds."""
    streams = []
    for rel in manifest["files"]:
        with open(os.path.join(manifest["root"], rel), "rb") as f:
            streams.append(zlib.compress(f.read(), 9))
    best = None
    for _ in range(rounds):
        t0 = time.monotonic()
        for s in streams:
            zlib.decompress(s)
        spent = time.monotonic() - t0
        best = spent if best is None else min(best, spent)
    return best, sum(len(s) for s in streams)


def clean_leftovers(installers):
    """What an earlier, broken-off bench run left: its folders and Add/Remove entries."""
    shutil.rmtree(winerun.drive_c("C:\\vntbench"), ignore_errors=True)
    for installer in installers:
        for p in PAYLOADS + ["welcome"]:
            if winerun.reg_key_exists(installer.key(p)):
                winerun.run(["reg", "delete", installer.key(p), "/f"], check=False)


def install_round(installer, setup, p, manifest, entry, first):
    t_exit, t_all, kib = winerun.timed(installer.install_argv(setup, p))
    folder = winerun.drive_c(installer.folder(p))
    check_installed(folder, manifest, installer.own_files, digest=first)
    if not winerun.reg_key_exists(installer.key(p)):
        raise BenchError(f"{installer.label}: no Add/Remove entry {installer.key(p)} after installing {p}")
    entry["install"].append(t_all)
    entry["install_exit"].append(t_exit)
    entry["install_kib"].append(kib)
    t_exit, t_all, kib = winerun.timed(installer.uninstall_argv(p))
    installer.after_uninstall(p)
    check_removed(folder, installer.key(p))
    entry["uninstall"].append(t_all)
    entry["uninstall_exit"].append(t_exit)
    entry["uninstall_kib"].append(kib)


def copy_round(p, manifest, limits):
    target = f"C:\\vntbench\\copy-{p}"
    source = windows_path(manifest["root"])
    _, t_all, _ = winerun.timed(["xcopy", source, target, "/E", "/I", "/Q", "/Y"])
    check_installed(winerun.drive_c(target), manifest, set(), digest=False)
    shutil.rmtree(winerun.drive_c(target))
    limits["xcopy"].append(t_all)
    native = winerun.drive_c(f"C:\\vntbench\\cp-{p}")
    t0 = time.monotonic()
    subprocess.run(["cp", "-r", manifest["root"], native], check=True)
    os.sync()
    limits["cp"].append(time.monotonic() - t0)
    shutil.rmtree(native)


def warm_up(installers, built, manifests):
    """One untimed install and uninstall of the empty setup by each installer: the first
    program with windows after the server starts brings up Wine's desktop process, which no
    timed run should pay for."""
    for installer in installers:
        install_round(installer, built[installer.label, "empty"], "empty", manifests["empty"],
                      {k: [] for k in ("install", "install_exit", "install_kib", "uninstall", "uninstall_exit",
                                       "uninstall_kib")}, first=False)


def timed_rounds(installers, built, manifests, result, runs):
    for r in range(runs):
        for p in PAYLOADS:
            log(f"round {r + 1}/{runs}: {p}")
            order = installers if r % 2 == 0 else installers[::-1]
            for installer in order:
                install_round(installer, built[installer.label, p], p, manifests[p],
                              result["payloads"][p][installer.label], first=(r == 0))
            copy_round(p, manifests[p], result["payloads"][p])


def first_pages(welcome_ours, welcome_nsis, result, runs):
    log("first page")
    display = xwatch.Display(os.environ["DISPLAY"])
    temp = winerun.drive_c(winerun.run(["cmd", "/c", "echo %TEMP%"]).strip())
    result["first_page"] = {"ours": [], "NSIS": []}
    pair = [("ours", welcome_ours, WELCOME_TITLE_OURS), ("NSIS", welcome_nsis, WELCOME_TITLE_NSIS)]
    for r in range(runs):
        for label, setup, title in (pair if r % 2 == 0 else pair[::-1]):
            # The wizard's page, not a loader window: a window of page size with the setup's title.
            result["first_page"][label].append(
                winerun.first_window([setup], lambda: display.shows(title, 400, 300), temp))


def request_counts(installers, built, manifests, result):
    log("wine server requests (one traced run each)")
    counter = winerun.RequestCounter()
    try:
        warm_up(installers, built, manifests)
        for p in PAYLOADS:
            for installer in installers:
                entry = result["payloads"][p][installer.label]
                entry["requests_install"] = counter.requests_of(installer.install_argv(built[installer.label, p], p))
                check_installed(winerun.drive_c(installer.folder(p)), manifests[p], installer.own_files, digest=False)
                entry["requests_uninstall"] = counter.requests_of(installer.uninstall_argv(p))
                installer.after_uninstall(p)
                check_removed(winerun.drive_c(installer.folder(p)), installer.key(p))
                log(f"  {p} {installer.label}: {entry['requests_install']} requests to install, "
                    f"{entry['requests_uninstall']} to uninstall")
    finally:
        counter.close()


def main():
    quick = os.environ.get("BENCH_QUICK", "") not in ("", "0")
    runs = int(os.environ.get("BENCH_RUNS", "3" if quick else "5"))
    data = os.path.join(ROOT, "build/bench-data", "quick" if quick else "full")
    setups = os.path.join(data, "setups")
    os.makedirs(setups, exist_ok=True)
    ours, nsis = Ours(setups), Nsis(setups)
    installers = [ours, nsis]
    result = {"mode": "quick" if quick else "full", "runs": runs, "date": time.strftime("%Y-%m-%d %H:%M UTC", time.gmtime()),
              "wine": subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout.strip(),
              "makensis": subprocess.run(["makensis", "-VERSION"], capture_output=True, text=True).stdout.strip(),
              "stub_bytes": os.path.getsize(os.path.join(ROOT, "build/win32/vntsetup.exe")),
              "uninstaller_bytes": os.path.getsize(os.path.join(ROOT, "build/win32/vntuninst.exe")),
              "payloads": {}}

    manifests, built = {}, {}
    for p in PAYLOADS:
        log(f"payload {p}")
        m = manifests[p] = payloads.generate(p, quick, os.path.join(data, "payloads"))
        entry = result["payloads"][p] = {"files": len(m["files"]), "folders": m["folders"], "bytes": m["bytes"]}
        for installer in installers:
            setup, seconds, kib = installer.build(p, m["root"])
            built[installer.label, p] = setup
            entry[installer.label] = {"setup_bytes": os.path.getsize(setup), "build_s": seconds, "build_kib": kib,
                                      **{k: [] for k in ("install", "install_exit", "install_kib", "uninstall",
                                                         "uninstall_exit", "uninstall_kib")}}
            log(f"  built {installer.label}: {os.path.getsize(setup)} bytes in {seconds:.1f} s")
        entry["inflate_s"], entry["deflated_bytes"] = inflate_seconds(m)
        entry["xcopy"], entry["cp"] = [], []

    welcome_file = os.path.join(manifests["empty"]["root"], "tiny.txt")
    welcome_ours, _, _ = ours.build("welcome", welcome_file, "welcome.json")
    welcome_nsis, _, _ = nsis.build("welcome", welcome_file, "welcome.nsi")

    winerun.start_warm_server()
    try:
        clean_leftovers(installers)
        warm_up(installers, built, manifests)
        timed_rounds(installers, built, manifests, result, runs)
        first_pages(welcome_ours, welcome_nsis, result, runs)
        clean_leftovers(installers)
        request_counts(installers, built, manifests, result)
    finally:
        winerun.stop_server()

    with open(os.path.join(data, "result.json"), "w") as f:
        json.dump(result, f, indent=1)
    return os.path.join(data, "result.json")


if __name__ == "__main__":
    try:
        print(main())
    except BenchError as e:
        print(f"bench: FAILED: {e}", file=sys.stderr)
        sys.exit(1)

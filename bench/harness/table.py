"""The benchmark's table and its targets, from the JSON setupbench.py wrote:
python3 table.py result.json"""
import json
import statistics
import sys

NAMES = {"empty": "empty (1 file, 100 B)", "file10k": "one 10 KB file", "big": "large files", "small": "small files"}
MB = 1 << 20


def med(values):
    return statistics.median(values)


def spread(values):
    return f"{med(values):7.2f} [{min(values):.2f}-{max(values):.2f}]"


def ratio(a, b):
    return a / b if b else float("inf")


def marginal(P, p, who):
    """Requests per installed file beyond the empty setup's run (which installs one file)."""
    extra = P[p]["files"] - P["empty"]["files"]
    return (P[p][who]["requests_install"] - P["empty"][who]["requests_install"]) / extra if extra > 0 else None


def per_file(P, p, who):
    value = marginal(P, p, who)
    return "-" if value is None else f"{value:.1f}"


def describe(p, e):
    return f"{NAMES[p]}: {e['files']} files, {e['folders']} folders, {e['bytes'] / MB:.1f} MB"


def rows(title, header, lines):
    out = [title, header]
    out += lines
    out.append("")
    return out


def render(r):
    P = r["payloads"]
    out = [f"Vantry setup against NSIS ({r['makensis']}, zlib, not solid) under {r['wine']}, {r['date']}",
           f"mode {r['mode']}, {r['runs']} rounds, paired and alternating (the first of a pair changes each round)",
           "ours: setup.exe /VERYSILENT /DIR=<dir>, removed by the Add/Remove entry's UninstallString + /VERYSILENT",
           "NSIS: setup.exe /S /D=<dir>, removed by its UninstallString + /S _?=<dir>",
           "every install checked file by file (round 1 byte by byte), every uninstall for an empty folder and no entry",
           ""]
    out += ["Payloads:"] + [f"  {p:8} {describe(p, e)}" for p, e in P.items()] + [""]
    w = max(len(p) for p in P)
    out += rows("Setup size (bytes)", f"  {'payload':{w}}  {'ours':>11} {'NSIS':>11} {'ours/NSIS':>9}",
                [f"  {p:{w}}  {e['ours']['setup_bytes']:>11} {e['NSIS']['setup_bytes']:>11} "
                 f"{ratio(e['ours']['setup_bytes'], e['NSIS']['setup_bytes']):>9.2f}" for p, e in P.items()])
    for what, label in (("install", "Install"), ("uninstall", "Uninstall")):
        out += rows(f"{label} time (s, median [min-max]; until every process the run started has ended)",
                    f"  {'payload':{w}}  {'ours':>22} {'NSIS':>22} {'ours/NSIS':>9}",
                    [f"  {p:{w}}  {spread(e['ours'][what]):>22} {spread(e['NSIS'][what]):>22} "
                     f"{ratio(med(e['ours'][what]), med(e['NSIS'][what])):>9.2f}" for p, e in P.items()])
    out.append("  NSIS's uninstaller runs with _?=<folder>, so the timed process is the one removing the files\n"
               "  (it cannot delete itself then; the harness removes uninst.exe and the folder, untimed).")
    out.append("")
    if "requests_install" in P["empty"]["ours"]:
        out += rows("Wine server requests (one traced run each): all of a run, and per installed file beyond the "
                    "empty setup's",
                    f"  {'payload':{w}}  {'ours inst':>10} {'NSIS inst':>10} {'ours/file':>9} {'NSIS/file':>9} "
                    f"{'ratio':>6}   {'ours unin':>10} {'NSIS unin':>10} {'ratio':>6}",
                    [f"  {p:{w}}  {e['ours']['requests_install']:>10} {e['NSIS']['requests_install']:>10} "
                     f"{per_file(P, p, 'ours'):>9} {per_file(P, p, 'NSIS'):>9} "
                     f"{ratio(e['ours']['requests_install'], e['NSIS']['requests_install']):>6.2f}   "
                     f"{e['ours']['requests_uninstall']:>10} {e['NSIS']['requests_uninstall']:>10} "
                     f"{ratio(e['ours']['requests_uninstall'], e['NSIS']['requests_uninstall']):>6.2f}"
                     for p, e in P.items()])
    base = {k: max(P["empty"][k]["install_kib"]) for k in ("ours", "NSIS")}
    out += rows("Peak memory of the install process (MB, highest of the rounds; Linux peak RSS of the Wine process)",
                f"  {'payload':{w}}  {'ours':>7} {'NSIS':>7} {'ours/NSIS':>9}  {'ours-empty':>10} {'NSIS-empty':>10}",
                [f"  {p:{w}}  {max(e['ours']['install_kib']) / 1024:>7.1f} {max(e['NSIS']['install_kib']) / 1024:>7.1f} "
                 f"{ratio(max(e['ours']['install_kib']), max(e['NSIS']['install_kib'])):>9.2f}  "
                 f"{(max(e['ours']['install_kib']) - base['ours']) / 1024:>10.1f} "
                 f"{(max(e['NSIS']['install_kib']) - base['NSIS']) / 1024:>10.1f}" for p, e in P.items()])
    out += rows("Limits in the same run (s, median [min-max]; install throughput MB/s)",
                f"  {'payload':{w}}  {'zlib inflate':>12} {'xcopy in Wine':>22} {'cp -r native':>22} "
                f"{'ours MB/s':>9} {'NSIS MB/s':>9} {'xcopy MB/s':>10}",
                [f"  {p:{w}}  {e['inflate_s']:>12.3f} {spread(e['xcopy']):>22} {spread(e['cp']):>22} "
                 f"{e['bytes'] / MB / med(e['ours']['install']):>9.1f} {e['bytes'] / MB / med(e['NSIS']['install']):>9.1f} "
                 f"{e['bytes'] / MB / med(e['xcopy']):>10.1f}" for p, e in P.items()])
    out.append("  zlib inflate: Python's zlib (the C library) inflating each file deflated on its own, in memory, best of 3.\n"
               "  xcopy in Wine: `wine xcopy /E /I /Q /Y` from the payload (Z:) into the prefix's drive C:.\n"
               "  cp -r native: Linux copy into drive_c, then sync.")
    out.append("")
    out += rows("Builder (one build each; /usr/bin/time: wall s, peak RSS MB)",
                f"  {'payload':{w}}  {'vntbuild s':>10} {'makensis s':>10} {'ratio':>6}  {'vntbuild MB':>11} "
                f"{'makensis MB':>11} {'ratio':>6}",
                [f"  {p:{w}}  {e['ours']['build_s']:>10.2f} {e['NSIS']['build_s']:>10.2f} "
                 f"{ratio(e['ours']['build_s'], e['NSIS']['build_s']):>6.2f}  {e['ours']['build_kib'] / 1024:>11.1f} "
                 f"{e['NSIS']['build_kib'] / 1024:>11.1f} {ratio(e['ours']['build_kib'], e['NSIS']['build_kib']):>6.2f}"
                 for p, e in P.items()])
    fp = r["first_page"]
    out += ["Start to first page shown (s, median [min-max]): ours the default wizard's welcome page, "
            "NSIS the MUI2 welcome page",
            f"  ours {spread(fp['ours'])}   NSIS {spread(fp['NSIS'])}   ours/NSIS "
            f"{ratio(med(fp['ours']), med(fp['NSIS'])):.2f}", ""]
    out += [f"Stub vntsetup.exe {r['stub_bytes']} bytes, uninstaller vntuninst.exe {r['uninstaller_bytes']} bytes", ""]
    out += targets(r)
    return "\n".join(out) + "\n"


def line(text, value, met):
    return f"target: {text}: ratio {value:.2f} ({'met' if met else 'not met'})"


def targets(r):
    P = r["payloads"]
    out = []
    for p, e in P.items():
        v = ratio(med(e["ours"]["install"]), med(e["NSIS"]["install"]))
        out.append(line(f"install time at most NSIS's ({NAMES[p]}), ours/NSIS", v, v <= 1))
    e = P.get("small")  # a run of chosen payloads may lack some
    if e:
        v = ratio(med(e["ours"]["uninstall"]), med(e["NSIS"]["uninstall"]))
        out.append(line(f"uninstall of the {e['files']} small files at most NSIS's, ours/NSIS", v, v <= 1))
    if e and "requests_install" in e["ours"]:
        ours, nsis = marginal(P, "small", "ours"), marginal(P, "small", "NSIS")
        v = ratio(ours, nsis)
        out.append(line(f"wine server requests per installed file at most NSIS's ({e['files']} small files, beyond "
                        f"the empty setup's: {ours:.1f} against {nsis:.1f}), ours/NSIS", v, v <= 1))
    e = P.get("big")
    if e:
        v = ratio(med(e["xcopy"]), med(e["ours"]["install"]))
        out.append(line(f"throughput on the {e['bytes'] / MB:.0f} MB payload within 80 % of copying into Wine "
                        f"(xcopy), ours/xcopy throughput (at least 0.80)", v, v >= 0.8))
    base = max(P["empty"]["ours"]["install_kib"])
    worst = max(max(e["ours"]["install_kib"]) for e in P.values())
    v = (worst - base) / 1024 / 16
    out.append(line(f"peak memory under 16 MB above an empty setup's ({(worst - base) / 1024:.1f} MB above), "
                    f"growth/16 MB", v, v < 1))
    v = r["stub_bytes"] / (512 * 1024)
    out.append(line(f"stub at most 512 KB ({r['stub_bytes'] / 1024:.0f} KB), size/512 KB", v, v <= 1))
    if "file10k" in P:
        size = P["file10k"]["ours"]["setup_bytes"]
        v = size / (400 * 1024)
        out.append(line(f"one-file setup at most 400 KB ({size / 1024:.0f} KB), size/400 KB", v, v <= 1))
    return out


if __name__ == "__main__":
    with open(sys.argv[1]) as f:
        sys.stdout.write(render(json.load(f)))

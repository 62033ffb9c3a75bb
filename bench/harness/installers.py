"""The two installers under test: how each is built, run, removed, and what it leaves of its own."""
import os
import shutil
import subprocess

import winerun

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"


def measured_build(argv):
    """Runs a builder under GNU time; returns (seconds, peak RSS in KiB)."""
    report = argv[-1] + ".time"
    out = subprocess.run(["/usr/bin/time", "-f", "%e %M", "-o", report, *argv], stdin=subprocess.DEVNULL,
                         capture_output=True)
    if out.returncode != 0:
        raise winerun.BenchError(f"{' '.join(argv)} failed:\n{out.stdout.decode()}{out.stderr.decode()}")
    with open(report) as f:
        seconds, kib = f.read().split()[-2:]
    os.remove(report)
    return float(seconds), int(kib)


class Ours:
    label = "ours"
    own_files = {"uninst.dat"}

    def __init__(self, where):
        self.where = where

    def product(self, payload):
        return f"bench-{payload}"

    def key(self, payload):
        return UNINSTALL_KEY + "Vantry Bench " + self.product(payload)

    def folder(self, payload):
        return f"C:\\vntbench\\ours-{payload}"

    def build(self, payload, source, project="payload.json"):
        setup = os.path.join(self.where, f"ours-{payload}.exe")
        seconds, kib = measured_build([os.path.join(ROOT, "build/release/vntbuild"), "build",
                                       os.path.join(ROOT, "bench/projects", project), "-q",
                                       "-D", f"NAME={self.product(payload)}", "-D", f"PAYLOAD={source}",
                                       "-o", setup])
        return setup, seconds, kib

    def install_argv(self, setup, payload):
        return [setup, "/VERYSILENT", f"/DIR={self.folder(payload)}"]

    def uninstall_argv(self, payload):
        command = winerun.reg_value(self.key(payload), "UninstallString")
        if not command:
            raise winerun.BenchError(f"ours: no UninstallString under {self.key(payload)}")
        return winerun.split_command(command) + ["/VERYSILENT"]

    def after_uninstall(self, payload):
        pass


class Nsis:
    label = "NSIS"
    own_files = {"uninst.exe"}

    def __init__(self, where):
        self.where = where

    def product(self, payload):
        return f"VntBenchNSIS-{payload}"

    def key(self, payload):
        return UNINSTALL_KEY + self.product(payload)

    def folder(self, payload):
        return f"C:\\vntbench\\nsis-{payload}"

    def build(self, payload, source, script="payload.nsi"):
        setup = os.path.join(self.where, f"nsis-{payload}.exe")
        seconds, kib = measured_build(["makensis", "-V1", f"-DNAME={self.product(payload)}",
                                       f"-DPAYLOAD={source}", f"-DOUTFILE={setup}",
                                       os.path.join(ROOT, "bench/nsis", script)])
        return setup, seconds, kib

    def install_argv(self, setup, payload):
        return [setup, "/S", f"/D={self.folder(payload)}"]

    def uninstall_argv(self, payload):
        # Without _?= the uninstaller copies itself to the temporary folder, starts the copy
        # and returns at once; with it, the timed process is the one that removes the files.
        command = winerun.reg_value(self.key(payload), "UninstallString")
        if not command:
            raise winerun.BenchError(f"NSIS: no UninstallString under {self.key(payload)}")
        return winerun.split_command(command) + ["/S", f"_?={self.folder(payload)}"]

    def after_uninstall(self, payload):
        # Run in place, the uninstaller cannot delete itself nor its folder: that is left to us,
        # untimed, once it is checked that nothing but the uninstaller is left.
        folder = winerun.drive_c(self.folder(payload))
        if os.path.isdir(folder):
            left = sorted(os.listdir(folder))
            if left not in ([], ["uninst.exe"]):
                raise winerun.BenchError(f"NSIS uninstall left {left[:5]} in {folder}")
            shutil.rmtree(folder)

"""Deterministic payloads for the installer benchmark: the same bytes on every machine and run."""
import hashlib
import json
import os
import shutil

# Bumped whenever the bytes a payload holds change, so stale data is made again.
GENERATOR_VERSION = 2

WORDS = (b"the of and to in is that for it as was with be by on not he this are or his from at which "
         b"but have an they you were her she there been one all we their has would when if so no will "
         b"setup install file folder program window registry value package archive version device "
         b"handheld desktop copy remove component shortcut group language message script").split()


def _stream(seed, size):
    """Incompressible bytes: SHAKE-256 of a seed, fixed by its standard, fast in C."""
    return hashlib.shake_256(seed.encode()).digest(size)


def _text(seed, size):
    """Words drawn by random bytes: compresses about three to one, like source or documents."""
    picks = _stream(seed, size // 4 + 16)
    out = b" ".join(WORDS[b % len(WORDS)] for b in picks)
    lines = bytearray(out[:size])
    for i in range(71, len(lines), 72):
        lines[i] = 0x0A
    return bytes(lines)


def _sparse(seed, size):
    """Mostly zeros and repeated records with a little noise: compresses very well, like tables."""
    noise = _stream(seed, size // 64 + 64)
    record = b"record\x00\x00\x00" + noise[:23]
    out = bytearray(size)
    for at in range(0, size, 4096):
        out[at:at + len(record)] = record
        out[at + 2048:at + 2048 + 32] = noise[(at // 4096) % (len(noise) // 32) * 32:][:32]
    return bytes(out[:size])


KINDS = {"random": _stream, "text": _text, "sparse": _sparse}


def _numbers(seed, count):
    raw = _stream(seed, count * 4)
    return [int.from_bytes(raw[i * 4:i * 4 + 4], "little") for i in range(count)]


def plan(name, quick):
    """The payload's files as (relative path, kind, size), in a fixed order."""
    files = []
    if name == "empty":
        files.append(("tiny.txt", "text", 100))
    elif name == "file10k":
        files.append(("data.bin", "random", 10 * 1024))
    elif name == "big":
        count, total = (40, 20 << 20) if quick else (200, 200 << 20)
        mean = total // count
        kinds = ("random", "text", "sparse")
        for i, n in enumerate(_numbers("big-sizes", count)):
            size = mean // 4 + n % (mean * 3 // 2)  # a quarter to seven quarters of the mean
            files.append((f"part{i // 50:02d}/file{i:04d}.dat", kinds[i % 3], size))
    elif name == "small":
        count, tops, mids, leaves = (1000, 4, 5, 10) if quick else (10000, 12, 12, 13)
        numbers = _numbers("small-sizes", count)
        folders = [f"d{a:02d}/e{b:02d}/f{c:02d}" for a in range(tops) for b in range(mids) for c in range(leaves)]
        for i, n in enumerate(numbers):
            size = 1024 + n % (7 * 1024 + 1)
            kind = "random" if n % 5 == 0 else "text"
            files.append((f"{folders[i % len(folders)]}/n{i:05d}.txt", kind, size))
    else:
        raise ValueError(f"unknown payload {name}")
    return files


def folder_count(files):
    folders = set()
    for path, _, _ in files:
        parts = path.split("/")[:-1]
        for i in range(1, len(parts) + 1):
            folders.add("/".join(parts[:i]))
    return len(folders)


def tree_digest(root, leave_out=()):
    """SHA-256 over every file's relative path, size and bytes, in sorted order; the names in
    leave_out (an installer's own files) do not count."""
    digest = hashlib.sha256()
    listing = []
    for folder, _, names in os.walk(root):
        for n in names:
            full = os.path.join(folder, n)
            listing.append(os.path.relpath(full, root).replace(os.sep, "/"))
    for rel in sorted(r for r in listing if r not in leave_out):
        full = os.path.join(root, rel)
        digest.update(f"{rel}\0{os.path.getsize(full)}\0".encode())
        with open(full, "rb") as f:
            while True:
                block = f.read(1 << 20)
                if not block:
                    break
                digest.update(block)
    return digest.hexdigest()


def generate(name, quick, where):
    """Writes the payload under where/<name>/files unless a whole one of this version is there;
    returns its manifest (files with sizes, folder count, bytes, digest)."""
    base = os.path.join(where, name)
    manifest_path = os.path.join(base, "manifest.json")
    files = plan(name, quick)
    key = {"version": GENERATOR_VERSION, "name": name, "quick": quick}
    if os.path.exists(manifest_path):
        with open(manifest_path) as f:
            manifest = json.load(f)
        if manifest.get("key") == key:
            return manifest
    shutil.rmtree(base, ignore_errors=True)
    root = os.path.join(base, "files")
    for path, kind, size in files:
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as f:
            f.write(KINDS[kind](f"{name}:{path}", size))
    manifest = {"key": key, "root": root, "files": {p: s for p, _, s in files},
                "folders": folder_count(files), "bytes": sum(s for _, _, s in files),
                "digest": tree_digest(root)}
    # Written last: a generation that was cut off is made again next time.
    with open(manifest_path, "w") as f:
        json.dump(manifest, f)
    return manifest

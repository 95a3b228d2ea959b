#!/usr/bin/env python3
"""The postal code table built into Zelkovane (住所自動入力).

    scripts/postal_data.py fetch OUTDIR
        Makes OUTDIR/postal_codes.bin from the npm package jquery-jpostal-ja
        at the pinned version: `npm pack` fetches it (or takes it from npm's
        cache), its SHA-512 must equal the pinned integrity, which must also
        be what the registry publishes for that version when the registry
        answers. When the package cannot be had, the reason is printed on a
        line starting "postal code data: NOT BUILT IN" and an empty table is
        written, so that the program builds without the lookup. Quick when
        the table is already there: a stamp records what it was built from.
    scripts/postal_data.py build SOURCE OUT
        Builds the table from SOURCE: the package's .tgz, or a folder holding
        json/NNN.json files of the same form (the test fixture).

The package (Japan Post's data, MIT licence) has one JSONP file per first
three digits; each row is ["_1500001", prefecture, city, town, street,
office, and three kana fields]. Rows whose key is not "_" and seven digits
(version notes, three-digit entries) are skipped. The table keeps
prefecture, city and town; where several rows share a code, only the parts
on which all of them agree are kept: one code over two towns of a city gives
prefecture and city, and a code over two prefectures (there are such codes)
an empty address, so that it still counts as a known code. Japan Post's
notes in the town field are no part of an address: a town that is only a
note ("…の次に４２７番地以降がくる場合", "以下に掲載がない場合") counts as no
town, and a note in brackets at the end of a town ("（次のビルを除く）",
"（地階・階層不明）") is cut off; brackets inside a town stay (名駅ミッド
ランドスクエア（高層棟）１階).

Table layout, little-endian, 20-byte header and arrays without padding:
    "ZKPC", u32 version 1, u32 N codes, u32 A areas, u32 T text units
    u32 code[N]        ascending, each below 10,000,000
    u32 town[N]        offset into the texts of the code's town
    u32 area_pref[A]   offset of the area's prefecture
    u32 area_city[A]   offset of the area's city
    u16 code_area[N]   the code's area (prefecture and city)
    u16 text[T]        UTF-16 texts, each ending with a NUL; every distinct
                       text is stored once; offset 0 is the empty text
Standard library only.
"""

import base64
import fcntl
import hashlib
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tarfile
import tempfile

PACKAGE = "jquery-jpostal-ja"
VERSION = "2.14.73"
# dist.integrity of the pinned version as the registry publishes it.
INTEGRITY = ("sha512-yuys0Np34p7WsmvVMcwQbkum6njYXdM8Ta22LGpa8xdjMpa/"
             "zxmda2Jtowk0T0uuuQSUXfaICACNAOd8dxCM7g==")
TABLE = "postal_codes.bin"
MAGIC = b"ZKPC"
FORMAT_VERSION = 1
CODE_KEY = re.compile(r"_(\d{7})")
JSON_NAME = re.compile(r"(?:^|/)json/\d{3}\.json$")
NPM_TIMEOUT = 180
# A town text that is a note of Japan Post's, not a place.
TOWN_NOTE = re.compile(r".*(がくる場合|に掲載がない場合)")
# A note in brackets at the end of a town text.
TOWN_END_NOTE = re.compile(r"（[^（）]*）$")
NETWORK_ERRORS = ("ECONNREFUSED", "ENOTFOUND", "ETIMEDOUT", "EAI_AGAIN", "ECONNRESET",
                  "ENETUNREACH", "EHOSTUNREACH")


def say(text):
    print(text, flush=True)


# ---- reading the package -------------------------------------------------

def town_of(text):
    """The town of a row without Japan Post's notes."""
    if TOWN_NOTE.fullmatch(text):
        return ""
    return TOWN_END_NOTE.sub("", text, count=1)


def rows_of(text):
    """The rows of one JSONP file: jQuery_jpostal_callback([...])."""
    start, end = text.find("("), text.rfind(")")
    if start < 0 or end <= start:
        raise ValueError("not a jpostal data file")
    return json.loads(text[start + 1:end])


def package_files(source):
    """(name, text) of every json/NNN.json in a .tgz or a folder."""
    if os.path.isdir(source):
        folder = os.path.join(source, "json")
        for name in sorted(os.listdir(folder)):
            if JSON_NAME.search("json/" + name):
                with open(os.path.join(folder, name), encoding="utf-8") as f:
                    yield name, f.read()
        return
    with tarfile.open(source, "r:gz") as tar:
        for member in tar.getmembers():
            if member.isfile() and JSON_NAME.search(member.name):
                yield member.name, tar.extractfile(member).read().decode("utf-8")


def addresses(source):
    """{code: (prefecture, city, town)} with the parts all rows agree on."""
    parts = {}
    for _, text in package_files(source):
        for row in rows_of(text):
            if not isinstance(row, list) or len(row) < 4:
                continue
            m = CODE_KEY.fullmatch(str(row[0]))
            if not m:
                continue
            code = int(m.group(1))
            new = (str(row[1]), str(row[2]), town_of(str(row[3])))
            old = parts.get(code)
            if old is None:
                parts[code] = new
                continue
            pref = old[0] if old[0] == new[0] else ""
            city = old[1] if pref and old[1] == new[1] else ""
            town = old[2] if city and old[2] == new[2] else ""
            parts[code] = (pref, city, town)
    return parts


# ---- writing the table ---------------------------------------------------

def table_bytes(parts):
    texts = {"": 0}
    pool = [0]

    def text(s):
        if s not in texts:
            texts[s] = len(pool)
            units = s.encode("utf-16-le")
            pool.extend(struct.unpack(f"<{len(units) // 2}H", units))
            pool.append(0)
        return texts[s]

    areas = {}
    area_pref, area_city = [], []
    codes = sorted(parts)
    towns, code_area = [], []
    for code in codes:
        pref, city, town = parts[code]
        key = (pref, city)
        if key not in areas:
            areas[key] = len(area_pref)
            area_pref.append(text(pref))
            area_city.append(text(city))
        code_area.append(areas[key])
        towns.append(text(town))
    if len(area_pref) > 0xFFFF:
        raise ValueError("more areas than the table can number")
    n, a, t = len(codes), len(area_pref), len(pool)
    return b"".join([
        MAGIC, struct.pack("<4I", FORMAT_VERSION, n, a, t),
        struct.pack(f"<{n}I", *codes), struct.pack(f"<{n}I", *towns),
        struct.pack(f"<{a}I", *area_pref), struct.pack(f"<{a}I", *area_city),
        struct.pack(f"<{n}H", *code_area), struct.pack(f"<{t}H", *pool),
    ])


def write_if_changed(path, data):
    """Replaces the file through a temporary one, only when its bytes change
    (so that the program is not linked again for nothing)."""
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except OSError:
        pass
    fd, temp = tempfile.mkstemp(dir=os.path.dirname(path) or ".", prefix=".postal-")
    with os.fdopen(fd, "wb") as f:
        f.write(data)
    os.chmod(temp, 0o644)
    os.replace(temp, path)


def build(source, out):
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    parts = addresses(source)
    data = table_bytes(parts)
    write_if_changed(out, data)
    return len(parts), len(data)


# ---- fetching the pinned package -----------------------------------------

def integrity_of(path):
    with open(path, "rb") as f:
        digest = hashlib.sha512(f.read()).digest()
    return "sha512-" + base64.b64encode(digest).decode("ascii")


def npm(*args, retries=1):
    return subprocess.run(["npm", *args, f"--fetch-retries={retries}", "--fetch-timeout=60000",
                           "--no-audit", "--no-fund", "--loglevel=error"],
                          capture_output=True, text=True, timeout=NPM_TIMEOUT,
                          stdin=subprocess.DEVNULL)


def npm_failure(result):
    """The line of npm's error output that says why, shortened."""
    lines = [line.removeprefix("npm error").strip()
             for line in (result.stderr or result.stdout or "").splitlines()]
    lines = [line for line in lines if line]
    if any(code in " ".join(lines) for code in NETWORK_ERRORS):
        why = next((line for line in lines if "reason:" in line), lines[0])
        return "the npm registry cannot be reached (" + why + ")"
    return lines[0] if lines else f"exit {result.returncode}"


def fetch(outdir):
    """Path of the verified package, or raises RuntimeError with the reason."""
    wanted = f"{PACKAGE}@{VERSION}"
    tgz = os.path.join(outdir, f"{PACKAGE}-{VERSION}.tgz")
    if os.path.exists(tgz) and integrity_of(tgz) == INTEGRITY:
        return tgz
    if shutil.which("npm") is None:
        raise RuntimeError("npm is not installed (scripts/setup.sh installs it)")
    # What the registry publishes for the version must be what is pinned; an
    # unreachable registry leaves the check to the pinned hash alone (npm
    # may still have the package in its cache).
    try:
        view = npm("view", wanted, "dist.integrity", retries=0)
        if view.returncode == 0 and view.stdout.strip() and view.stdout.strip() != INTEGRITY:
            raise RuntimeError(f"the registry publishes {view.stdout.strip()} for {wanted}, "
                               f"not the pinned {INTEGRITY}")
    except subprocess.TimeoutExpired:
        pass
    with tempfile.TemporaryDirectory(dir=outdir) as temp:
        try:
            packed = npm("pack", wanted, "--pack-destination", temp, "--prefer-offline")
        except subprocess.TimeoutExpired:
            raise RuntimeError(f"npm pack {wanted} did not finish in {NPM_TIMEOUT} s")
        got = [f for f in os.listdir(temp) if f.endswith(".tgz")]
        if packed.returncode != 0 or len(got) != 1:
            raise RuntimeError(f"npm pack {wanted} failed: {npm_failure(packed)}")
        path = os.path.join(temp, got[0])
        actual = integrity_of(path)
        if actual != INTEGRITY:
            raise RuntimeError(f"{got[0]} has {actual}, not the pinned {INTEGRITY}")
        os.replace(path, tgz)
    return tgz


def stamp_text():
    with open(os.path.abspath(__file__), "rb") as f:
        script = hashlib.sha256(f.read()).hexdigest()
    return f"{INTEGRITY} {script}\n"


def fetch_and_build(outdir):
    os.makedirs(outdir, exist_ok=True)
    out = os.path.join(outdir, TABLE)
    stamp = os.path.join(outdir, TABLE + ".stamp")
    # Two builds (native and Windows) may ask at once.
    with open(os.path.join(outdir, ".lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        try:
            with open(stamp) as f:
                if f.read() == stamp_text() and os.path.getsize(out) > 0:
                    return 0
        except OSError:
            pass
        try:
            tgz = fetch(outdir)
        except RuntimeError as e:
            say(f"postal code data: NOT BUILT IN - {e}")
            say("postal code data: Zelkovane is built without the postal code lookup "
                "(its buttons say that no postal code data is built in)")
            write_if_changed(out, b"")
            if os.path.exists(stamp):
                os.remove(stamp)
            return 0
        codes, size = build(tgz, out)
        with open(stamp, "w") as f:
            f.write(stamp_text())
        say(f"postal code data: {PACKAGE} {VERSION}, {codes} codes, "
            f"table {size} bytes ({out})")
    return 0


def main(argv):
    if len(argv) == 3 and argv[1] == "fetch":
        return fetch_and_build(argv[2])
    if len(argv) == 4 and argv[1] == "build":
        codes, size = build(argv[2], argv[3])
        say(f"postal code table: {codes} codes, {size} bytes")
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))

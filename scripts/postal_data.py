#!/usr/bin/env python3
"""The postal code table built into Zelkovane (住所自動入力).

    scripts/postal_data.py fetch OUTDIR TOOL
        Makes OUTDIR/postal_codes.bin from the npm package jquery-jpostal-ja
        at the pinned version: `npm pack` fetches it (or takes it from npm's
        cache), its SHA-512 must equal the pinned integrity, which must also
        be what the registry publishes for that version when the registry
        answers. When the package cannot be had, the reason is printed on a
        line starting "postal code data: NOT BUILT IN" and an empty table is
        written, so that the program builds without the lookup. Quick when
        the table is already there: a stamp records what it was built from.
    scripts/postal_data.py build SOURCE OUT TOOL
        Builds the table from SOURCE: the package's .tgz, or a folder holding
        json/NNN.json files of the same form (the test fixture).

The package (Japan Post's data, MIT licence) has one JSONP file per first
three digits; each row is ["_1500001", prefecture, city, town, street,
office, and three kana fields]. Rows whose key is not "_" and seven digits
(version notes, three-digit entries) are skipped; the row "_000info" gives
the data's date. This script only turns the rows into the layout of Japan
Post's own files, an address file (utf_ken_all.csv) and a business file
(JIGYOSYO.CSV) in UTF-8, and runs TOOL (tools/postal_table_tool.cpp) over
them: the table is built by the program's own rules
(postal/postal_table_builder.h), the same that the program's command
"郵便番号データの更新" applies to the files a user downloads from Japan Post.
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
DATE = re.compile(r"\d{4}-\d{2}-\d{2}")
NETWORK_ERRORS = ("ECONNREFUSED", "ENOTFOUND", "ETIMEDOUT", "EAI_AGAIN", "ECONNRESET",
                  "ENETUNREACH", "EHOSTUNREACH")


def say(text):
    print(text, flush=True)


# ---- reading the package -------------------------------------------------

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


def csv_line(fields):
    return ",".join('"' + str(f).replace('"', '""') + '"' for f in fields) + "\r\n"


def japan_post_files(source, address_path, business_path):
    """Writes the package's rows in the layout of Japan Post's address and
    business files; returns the data's date as yyyymmdd (0 unknown)."""
    date = businesses = 0
    with open(address_path, "w", encoding="utf-8", newline="") as address, \
            open(business_path, "w", encoding="utf-8", newline="") as business:
        for _, text in package_files(source):
            for row in rows_of(text):
                if not isinstance(row, list) or len(row) < 6:
                    continue
                row = [str(f) for f in row]
                if row[0] == "_000info":
                    dates = DATE.findall(" ".join(row))
                    date = int(dates[-1].replace("-", "")) if dates else 0
                if not CODE_KEY.fullmatch(row[0]):
                    continue
                code, pref, city, town, street, office = row[0][1:], *row[1:6]
                if office:
                    businesses += 1
                    business.write(csv_line(["00000", "", office, pref, city, town, street, code,
                                             code[:5], "", 0, 0, 0]))
                else:
                    address.write(csv_line(["00000", code[:5], code, "", "", "", pref, city, town,
                                            0, 0, 0, 0, 0, 0]))
    return date, businesses


def build(source, out, tool):
    """Builds OUT through TOOL; (codes, bytes) of the table."""
    outdir = os.path.dirname(os.path.abspath(out))
    os.makedirs(outdir, exist_ok=True)
    with tempfile.TemporaryDirectory(dir=outdir, prefix=".postal-") as temp:
        address = os.path.join(temp, "utf_ken_all.csv")
        business = os.path.join(temp, "JIGYOSYO.CSV")
        date, businesses = japan_post_files(source, address, business)
        table = os.path.join(temp, TABLE)
        made = subprocess.run([tool, table, str(date), address] + ([business] if businesses else []),
                              capture_output=True, text=True)
        if made.returncode != 0:
            raise RuntimeError(f"{tool} failed: {made.stderr.strip() or made.stdout.strip()}")
        with open(table, "rb") as f:
            data = f.read()
    write_if_changed(out, data)
    return struct.unpack_from("<I", data, 8)[0], len(data)


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


def stamp_text(tool):
    """What the table is made of: the package, this script and the tool
    with its rules."""
    digests = []
    for path in (os.path.abspath(__file__), tool):
        with open(path, "rb") as f:
            digests.append(hashlib.sha256(f.read()).hexdigest())
    return f"{INTEGRITY} {' '.join(digests)}\n"


def fetch_and_build(outdir, tool):
    os.makedirs(outdir, exist_ok=True)
    out = os.path.join(outdir, TABLE)
    stamp = os.path.join(outdir, TABLE + ".stamp")
    # Two builds (native and Windows) may ask at once.
    with open(os.path.join(outdir, ".lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        try:
            with open(stamp) as f:
                if f.read() == stamp_text(tool) and os.path.getsize(out) > 0:
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
        codes, size = build(tgz, out, tool)
        with open(stamp, "w") as f:
            f.write(stamp_text(tool))
        say(f"postal code data: {PACKAGE} {VERSION}, {codes} codes, "
            f"table {size} bytes ({out})")
    return 0


def main(argv):
    if len(argv) == 4 and argv[1] == "fetch":
        return fetch_and_build(argv[2], argv[3])
    if len(argv) == 5 and argv[1] == "build":
        codes, size = build(argv[2], argv[3], argv[4])
        say(f"postal code table: {codes} codes, {size} bytes")
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))

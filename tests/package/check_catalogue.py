#!/usr/bin/env python3
"""Checks the security catalogue each given build packed into its skin archive, with tools other
than the one that wrote it: osslsigncode verifies the signature against the build's test
certificate (and refuses it against another certificate) and lists the members (osslsigncode 2.9
and later; with an older one, as Debian bookworm has, they are read from the catalogue's DER by
this script); each file of the
package as packed must be a member under its own name, its digest computed here (SHA-1 of the
bytes) or by osslsigncode (the Authenticode hash of a PE file); the catalogue has no other member;
and a file with one byte changed no longer matches.

usage: check_catalogue.py [--trust PEM] ARCHIVE_OR_BUILD...
A build folder (build/linux, build/windows-x64) means its resources/skin.zip, checked against its
test certificate; an archive (skin.zip) needs --trust, the root(s) its catalogue must chain to.
Exits 1 on the first archive with a fault, naming it."""
import hashlib
import os
import re
import subprocess
import sys
import tempfile
import zipfile

PACKAGE = "Drivers/CorvaneEx/"
CATALOGUE = "CorvaneExNew.cat"
OIDS = ("1.3.6.1.4.1.311.10.1", "1.3.6.1.4.1.311.12.1.1", "1.3.6.1.4.1.311.12.1.2")


class Fault(Exception):
    pass


def run(*command):
    return subprocess.run(command, capture_output=True, text=True)


def in_work_folder(tool: str, target: str, check, *args):
    """check(*args, work) with a temporary folder; None, with the fault printed, when it finds one."""
    with tempfile.TemporaryDirectory() as work:
        try:
            return check(*args, work)
        except (Fault, OSError, zipfile.BadZipFile, KeyError) as e:
            print(f"{tool}: {target}: {e}", file=sys.stderr)
            return None


def is_pe(data: bytes) -> bool:
    if len(data) < 0x40 or data[:2] != b"MZ":
        return False
    pe = int.from_bytes(data[0x3C:0x40], "little")
    return data[pe : pe + 4] == b"PE\0\0"


def members(catalogue: str, trust: str):
    """{digest: file name} of the catalogue as osslsigncode reads it, after checking its signature."""
    verified = run("osslsigncode", "verify", "-verbose", "-in", catalogue, "-CAfile", trust)
    if verified.returncode != 0 or "Signature verification: ok" not in verified.stdout:
        output = (verified.stdout + verified.stderr).splitlines()
        reasons = [line.strip() for line in output if "rror" in line or "ailed" in line]
        raise Fault("the signature does not verify: " + "; ".join(reasons[:6]))
    listing = verified.stdout.split("Catalog members:", 1)
    if len(listing) == 2:
        member = r"File name: (.*)\n\s*Hash algorithm: SHA1\n\s*Message digest: ([0-9A-F]{40})"
        found = re.findall(member, listing[1])
    else:  # osslsigncode before 2.9 verifies a catalogue but does not list its members
        with open(catalogue, "rb") as f:
            found = der_members(f.read())
        if not found:
            raise Fault("the catalogue holds no member")
    out = {}
    for name, digest in found:
        if digest in out:
            raise Fault(f"digest {digest} is listed twice")
        out[digest] = name.strip()
    return out


def der_items(data: bytes):
    """The (tag, contents) of each DER element in `data`, in order."""
    i = 0
    while i + 2 <= len(data):
        tag, length = data[i], data[i + 1]
        i += 2
        if length & 0x80:
            count = length & 0x7F
            length = int.from_bytes(data[i : i + count], "big")
            i += count
        yield tag, data[i : i + length]
        i += length


SHA1_OID = bytes.fromhex("2b0e03021a")  # 1.3.14.3.2.26


def der_members(data: bytes):
    """[(file name, SHA-1 digest)] read from the catalogue's DER by its own structure: each member's
    DigestInfo (a SHA-1 algorithm and 20 bytes) and its "File" name-value (a UTF-16 name)."""
    found = []

    def walk(items, member):
        for tag, contents in items:
            if tag in (0x30, 0x31, 0xA0) or (tag == 0x04 and contents[:1] in (b"\x30", b"\x31")):
                children = list(der_items(contents))
                if tag == 0x30 and len(children) == 2 and children[0][0] == 0x04 and len(children[0][1]) % 2 == 0:
                    # A member: its tag, then its attributes.
                    entry = {}
                    walk([children[1]], entry)
                    if "digest" in entry and "name" in entry:
                        found.append((entry["name"], entry["digest"]))
                        continue
                if member is not None and tag == 0x30 and len(children) == 2 and children[1][0] == 0x04:
                    algorithm = list(der_items(children[0][1])) if children[0][0] == 0x30 else []
                    if algorithm and algorithm[0] == (0x06, SHA1_OID) and len(children[1][1]) == 20:
                        member["digest"] = children[1][1].hex().upper()
                if member is not None and tag == 0x30 and len(children) == 3 and children[0] == (0x1E, "File".encode("utf-16-be")):
                    member["name"] = children[2][1].decode("utf-16-le").rstrip("\0")
                walk(children, member)

    walk(der_items(data), None)
    return found


def pe_digest(catalogue: str, path: str, trust: str) -> str:
    checked = run("osslsigncode", "verify", "-catalog", catalogue, "-in", path, "-CAfile", trust)
    digest = re.search(r"Calculated message digest : ([0-9A-F]{40})", checked.stdout)
    if checked.returncode != 0 or not digest:
        raise Fault(f"{path}: not matched by the catalogue:\n{checked.stdout}{checked.stderr}")
    return digest.group(1)


def check_archive(skin: str, trust: str, work: str):
    with zipfile.ZipFile(skin) as z:
        files = {n[len(PACKAGE) :]: z.read(n) for n in z.namelist() if n.startswith(PACKAGE)}
    if CATALOGUE not in files:
        raise Fault(f"{skin} has no {PACKAGE}{CATALOGUE}")
    for name, data in files.items():
        path = os.path.join(work, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
    catalogue = os.path.join(work, CATALOGUE)

    structure = run("openssl", "asn1parse", "-inform", "DER", "-in", catalogue).stdout
    for oid in OIDS:
        if f":{oid}" not in structure:
            raise Fault(f"no {oid} in the catalogue")
    # The name of the OSAttr attribute, a BMPString inside an octet string that asn1parse shows as hex.
    if "OSAttr".encode("utf-16-be").hex().upper() not in structure:
        raise Fault("no OSAttr attribute")

    listed = members(catalogue, trust)
    other_key = os.path.join(work, "other.pem")
    made = run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
               "/CN=other", "-keyout", os.path.join(work, "other.key"), "-out", other_key)
    if made.returncode != 0:
        raise Fault(f"cannot make a second certificate: {made.stderr}")
    if run("osslsigncode", "verify", "-in", catalogue, "-CAfile", other_key).returncode == 0:
        raise Fault("the signature verifies against a certificate that did not make it")

    expected = {}  # digest -> names of the packed files with it
    pe_files = []
    flat_files = []
    for name, data in sorted(files.items()):
        if name == CATALOGUE:
            continue
        path = os.path.join(work, name)
        if is_pe(data):
            digest = pe_digest(catalogue, path, trust)
            pe_files.append(path)
        else:
            digest = hashlib.sha1(data).hexdigest().upper()
            flat_files.append(path)
        expected.setdefault(digest, []).append(os.path.basename(name))
    for digest, names in expected.items():
        if digest not in listed:
            raise Fault(f"{', '.join(names)}: digest {digest} is not a member")
        if listed[digest] not in names:
            raise Fault(f"member {digest} is named {listed[digest]}, not {' or '.join(names)}")
    extra = set(listed) - set(expected)
    if extra:
        raise Fault(f"members for no packed file: {', '.join(listed[d] for d in sorted(extra))}")

    # One byte changed: a PE file no longer matches, nor does a flat file's digest.
    if pe_files:
        tampered = pe_files[0]
        with open(tampered, "r+b") as f:
            f.seek(os.path.getsize(tampered) // 2)
            byte = f.read(1)
            f.seek(-1, os.SEEK_CUR)
            f.write(bytes([byte[0] ^ 0x01]))
        matched = run("osslsigncode", "verify", "-catalog", catalogue, "-in", tampered, "-CAfile", trust)
        if matched.returncode == 0:
            raise Fault(f"{tampered} with a byte changed still matches the catalogue")
    with open(flat_files[0], "rb") as f:
        data = bytearray(f.read())
    data[len(data) // 2] ^= 0x01
    if hashlib.sha1(data).hexdigest().upper() in listed:
        raise Fault(f"{flat_files[0]} with a byte changed still matches the catalogue")
    return len(listed), len(pe_files), len(flat_files)


def main() -> int:
    args = sys.argv[1:]
    trust = None
    if len(args) >= 2 and args[0] == "--trust":
        trust, args = args[1], args[2:]
    if not args:
        print(__doc__, file=sys.stderr)
        return 2
    for target in args:
        skin, root = target, trust
        if os.path.isdir(target):
            skin = os.path.join(target, "resources", "skin.zip")
            root = trust or os.path.join(target, "resources", "catalogue-signer", "cert.pem")
        if not root:
            print(f"check_catalogue: {target}: an archive needs --trust", file=sys.stderr)
            return 2
        found = in_work_folder("check_catalogue", target, check_archive, skin, root)
        if found is None:
            return 1
        count, pe, flat = found
        print(f"check_catalogue: {target}: {count} members, {pe} PE files and {flat} others matched")
    return 0


if __name__ == "__main__":
    sys.exit(main())

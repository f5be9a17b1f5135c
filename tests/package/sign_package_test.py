#!/usr/bin/env python3
"""Runs scripts/sign-package.sh on copies of a build's skin archive with an organisation's chain
made here (a root and a code-signing certificate it issued): as a PFX with a password, and as PEM
files on a build folder. The catalogue must then be signed by that certificate and chain to the
root, the archive's other entries stay as they were, the build folder's catalogue follows; a wrong
password or a root the certificate does not chain to fails and leaves the archive unchanged.

usage: sign_package_test.py BUILD_FOLDER"""
import os
import shutil
import sys
import zipfile

from check_catalogue import Fault, in_work_folder, run

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SIGN = os.path.join(ROOT, "scripts", "sign-package.sh")
ENTRY = "Drivers/CorvaneEx/CorvaneExNew.cat"


def must(*command):
    done = run(*command)
    if done.returncode != 0:
        raise Fault(f"{' '.join(command)} failed:\n{done.stdout}{done.stderr}")
    return done


def make_organisation(work: str):
    """A root, and a code-signing certificate it issued, as PEM files and as a PFX with a password."""
    def path(name):
        return os.path.join(work, name)

    must("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "30", "-subj",
         "/CN=Example Root", "-addext", "basicConstraints=critical,CA:TRUE", "-addext",
         "keyUsage=critical,keyCertSign", "-keyout", path("root.key"), "-out", path("root.pem"))
    must("openssl", "req", "-newkey", "rsa:2048", "-nodes", "-subj",
         "/O=Example Org/CN=Example Org drivers", "-keyout", path("leaf.key"), "-out", path("leaf.csr"))
    with open(path("leaf.ext"), "w") as f:
        f.write("basicConstraints=critical,CA:FALSE\nkeyUsage=critical,digitalSignature\n"
                "extendedKeyUsage=codeSigning\n")
    must("openssl", "x509", "-req", "-in", path("leaf.csr"), "-CA", path("root.pem"), "-CAkey",
         path("root.key"), "-CAcreateserial", "-days", "20", "-extfile", path("leaf.ext"), "-out",
         path("leaf.pem"))
    with open(path("password"), "w") as f:
        f.write("s3cret\n")
    with open(path("wrong-password"), "w") as f:
        f.write("guess\n")
    must("openssl", "pkcs12", "-export", "-inkey", path("leaf.key"), "-in", path("leaf.pem"), "-certfile",
         path("root.pem"), "-passout", f"file:{path('password')}", "-out", path("org.pfx"))
    return path


def entries(archive: str):
    with zipfile.ZipFile(archive) as z:
        return [(i.filename, i.CRC, i.compress_size, i.date_time) for i in z.infolist()]


def catalogue_of(archive: str, work: str) -> str:
    out = os.path.join(work, "extracted.cat")
    with zipfile.ZipFile(archive) as z, open(out, "wb") as f:
        f.write(z.read(ENTRY))
    return out


def check(build: str, work: str) -> bool:
    org = make_organisation(work)
    original = os.path.join(build, "resources", "skin.zip")
    test_certificate = os.path.join(build, "resources", "catalogue-signer", "cert.pem")
    before = entries(original)

    # A PFX with its password, on an archive.
    archive = os.path.join(work, "skin.zip")
    shutil.copy(original, archive)
    must(SIGN, "--pkcs12", org("org.pfx"), "--pass-file", org("password"), "--trust", org("root.pem"),
         archive)
    after = entries(archive)
    if [e for e in after if e[0] != ENTRY] != [e for e in before if e[0] != ENTRY]:
        raise Fault("entries besides the catalogue changed")
    if [e for e in after if e[0] == ENTRY] == [e for e in before if e[0] == ENTRY]:
        raise Fault("the catalogue did not change")
    signed = catalogue_of(archive, work)
    verified = must("osslsigncode", "verify", "-in", signed, "-CAfile", org("root.pem"))
    if "Example Org drivers" not in verified.stdout:
        raise Fault(f"not signed by the organisation's certificate:\n{verified.stdout}")
    if run("osslsigncode", "verify", "-in", signed, "-CAfile", test_certificate).returncode == 0:
        raise Fault("the re-signed catalogue still verifies against the build's test certificate")

    # PEM files with the chain, on a build folder: its catalogue follows the archive's.
    folder = os.path.join(work, "build")
    os.makedirs(os.path.join(folder, "resources", "driver-catalogue"))
    shutil.copy(original, os.path.join(folder, "resources", "skin.zip"))
    must(SIGN, "--cert", org("leaf.pem"), "--key", org("leaf.key"), "--chain", org("root.pem"), folder)
    with open(os.path.join(folder, "resources", "driver-catalogue", "CorvaneExNew.cat"), "rb") as f:
        beside = f.read()
    with open(catalogue_of(os.path.join(folder, "resources", "skin.zip"), work), "rb") as f:
        if f.read() != beside:
            raise Fault("the build folder's catalogue is not the archive's")

    # Failures leave the archive as it was.
    shutil.copy(original, archive)
    for case, arguments in (
        ("a wrong password", ["--pkcs12", org("org.pfx"), "--pass-file", org("wrong-password")]),
        ("a root the certificate does not chain to",
         ["--cert", org("leaf.pem"), "--key", org("leaf.key"), "--chain", org("root.pem"), "--trust",
          test_certificate]),
    ):
        if run(SIGN, *arguments, archive).returncode == 0:
            raise Fault(f"signing with {case} succeeded")
        if entries(archive) != before:
            raise Fault(f"signing with {case} changed the archive")
    return True


def main() -> int:
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    if in_work_folder("sign_package_test", sys.argv[1], check, sys.argv[1]) is None:
        return 1
    print(f"sign_package_test: {sys.argv[1]}: signed again with a PFX and with PEM files; failures left it")
    return 0


if __name__ == "__main__":
    sys.exit(main())

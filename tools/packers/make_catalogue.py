#!/usr/bin/env python3
"""Writes the driver package's security catalogue, unsigned: a PKCS #7 SignedData with no signer
whose content is a certificate trust list of the catalogue kind, one member per file of the
package. osslsigncode signs it afterwards (cmake/DriverPackage.cmake, scripts/sign-package.sh).

A member is tagged with the SHA-1 of its file as upper-case hex (UTF-16 with its terminating null,
as Windows reads the tag back as a string) and carries the digest again in an indirect-data
attribute, with the file's name beside it. A PE file's digest is its Authenticode image hash (the
checksum, the certificate-table entry and the certificate table left out, the end padded with zeros
to 8 bytes), so that signing the DLL later does not change it; any other file's is the SHA-1 of all
its bytes. The catalogue's own attribute OSAttr names the Windows versions the INF's decorations
cover.

The package's files are given as pack_skin.py takes them (--dir and --list); only the entries
below --package are members, so the catalogue lists exactly what the archive holds there, the
placeholders of architectures no build has made included. The same files and --time give the same
bytes: the members are sorted by tag and the list identifier is derived from them.

usage: make_catalogue.py --package Drivers/CorvaneEx --time 2026-12-11 --out unsigned.cat
                         [--dir PREFIX=FOLDER]... [--list FILE]..."""
import argparse
import datetime
import hashlib
import os
import struct
import sys

from asn1crypto import algos, core

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pack_skin  # noqa: E402  (the same entries, placeholders included, as the archive gets)

SIGNED_DATA = "1.2.840.113549.1.7.2"
CTL = "1.3.6.1.4.1.311.10.1"
CATALOG_LIST = "1.3.6.1.4.1.311.12.1.1"
CATALOG_LIST_MEMBER = "1.3.6.1.4.1.311.12.1.2"
CAT_NAMEVALUE = "1.3.6.1.4.1.311.12.2.1"
SPC_INDIRECT_DATA = "1.3.6.1.4.1.311.2.1.4"
SPC_PE_IMAGE_DATA = "1.3.6.1.4.1.311.2.1.15"
SPC_FLAT_FILE_DATA = "1.3.6.1.4.1.311.2.1.25"

# Name-value flags: authenticated, value and name as text.
NAMEVALUE_FLAGS = 0x10010001
# Windows XP (5.1) to Windows 10 and 11 (10.0), platform 2 (Windows NT): the INF's decorations
# NTx86, NTamd64 and NTarm64 carry no version, so they cover all of them.
OS_ATTR = "2:5.1,2:5.2,2:6.0,2:6.1,2:6.2,2:6.3,2:10.0"


class SpcString(core.Choice):
    _alternatives = [
        ("unicode", core.BMPString, {"implicit": 0}),
        ("ascii", core.IA5String, {"implicit": 1}),
    ]


class SpcLink(core.Choice):
    _alternatives = [
        ("url", core.IA5String, {"implicit": 0}),
        ("moniker", core.Any, {"implicit": 1}),
        ("file", SpcString, {"explicit": 2}),
    ]


class SpcPeImageData(core.Sequence):
    _fields = [("flags", core.BitString), ("file", SpcLink, {"explicit": 0})]


class SpcAttributeTypeAndOptionalValue(core.Sequence):
    _fields = [("type", core.ObjectIdentifier), ("value", core.Any, {"optional": True})]


class DigestInfo(core.Sequence):
    _fields = [("digest_algorithm", algos.DigestAlgorithm), ("digest", core.OctetString)]


class SpcIndirectDataContent(core.Sequence):
    _fields = [("data", SpcAttributeTypeAndOptionalValue), ("message_digest", DigestInfo)]


class CatNameValue(core.Sequence):
    _fields = [("tag", core.BMPString), ("flags", core.Integer), ("value", core.OctetString)]


class SetOfAny(core.SetOf):
    _child_spec = core.Any


class Attribute(core.Sequence):
    _fields = [("type", core.ObjectIdentifier), ("values", SetOfAny)]


class Attributes(core.SetOf):
    _child_spec = Attribute


class TrustedSubject(core.Sequence):
    _fields = [("identifier", core.OctetString), ("attributes", Attributes, {"optional": True})]


class TrustedSubjects(core.SequenceOf):
    _child_spec = TrustedSubject


class Extension(core.Sequence):
    _fields = [
        ("extn_id", core.ObjectIdentifier),
        ("critical", core.Boolean, {"default": False}),
        ("extn_value", core.OctetString),
    ]


class Extensions(core.SequenceOf):
    _child_spec = Extension


class SubjectUsage(core.SequenceOf):
    _child_spec = core.ObjectIdentifier


class CertificateTrustList(core.Sequence):
    _fields = [
        ("version", core.Integer, {"default": 0}),
        ("subject_usage", SubjectUsage),
        ("list_identifier", core.OctetString, {"optional": True}),
        ("sequence_number", core.Integer, {"optional": True}),
        ("this_update", core.UTCTime),
        ("next_update", core.UTCTime, {"optional": True}),
        ("subject_algorithm", algos.DigestAlgorithm),
        ("trusted_subjects", TrustedSubjects, {"optional": True}),
        ("extensions", Extensions, {"explicit": 0, "optional": True}),
    ]


class CtlContentInfo(core.Sequence):
    _fields = [("content_type", core.ObjectIdentifier), ("content", CertificateTrustList, {"explicit": 0})]


class SignedData(core.Sequence):
    # No certificates and no signer yet: osslsigncode adds them when it signs.
    _fields = [
        ("version", core.Integer),
        ("digest_algorithms", SetOfAny),
        ("content_info", CtlContentInfo),
        ("signer_infos", SetOfAny),
    ]


class ContentInfo(core.Sequence):
    _fields = [("content_type", core.ObjectIdentifier), ("content", SignedData, {"explicit": 0})]


def pe_image_hash(data: bytes):
    """The Authenticode SHA-1 of a PE file, or None when `data` is not one."""
    if len(data) < 0x40 or data[:2] != b"MZ":
        return None
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if pe + 24 > len(data) or data[pe : pe + 4] != b"PE\0\0":
        return None
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    if magic == 0x10B:
        directories = optional + 96
    elif magic == 0x20B:
        directories = optional + 112
    else:
        return None
    checksum = optional + 64
    security = directories + 4 * 8  # IMAGE_DIRECTORY_ENTRY_SECURITY
    if security + 8 > len(data):
        return None
    table, size = struct.unpack_from("<II", data, security)
    end = table if size and table + size <= len(data) else len(data)
    sha1 = hashlib.sha1()
    sha1.update(data[:checksum])
    sha1.update(data[checksum + 4 : security])
    sha1.update(data[security + 8 : end])
    # Windows hashes a file whose end is not 8-byte aligned as if padded with zeros to it, as
    # signing would pad it.
    sha1.update(bytes(-end % 8))
    return sha1.digest()


def name_value(tag: str, value: str) -> bytes:
    return CatNameValue(
        {"tag": tag, "flags": NAMEVALUE_FLAGS, "value": (value + "\0").encode("utf-16-le")}
    ).dump()


def obsolete_link() -> SpcLink:
    return SpcLink(name="file", value=SpcString(name="unicode", value="<<<Obsolete>>>"))


def member(name: str, data: bytes) -> TrustedSubject:
    image = pe_image_hash(data)
    if image is not None:
        kind = SpcAttributeTypeAndOptionalValue(
            {"type": SPC_PE_IMAGE_DATA, "value": SpcPeImageData({"flags": (), "file": obsolete_link()})}
        )
        digest = image
    else:
        kind = SpcAttributeTypeAndOptionalValue({"type": SPC_FLAT_FILE_DATA, "value": obsolete_link()})
        digest = hashlib.sha1(data).digest()
    indirect = SpcIndirectDataContent(
        {
            "data": kind,
            "message_digest": {
                "digest_algorithm": {"algorithm": "sha1", "parameters": core.Null()},
                "digest": digest,
            },
        }
    )
    tag = digest.hex().upper() + "\0"
    return TrustedSubject(
        {
            "identifier": tag.encode("utf-16-le"),
            "attributes": [
                {"type": CAT_NAMEVALUE, "values": [core.Any.load(name_value("File", name))]},
                {"type": SPC_INDIRECT_DATA, "values": [core.Any.load(indirect.dump())]},
            ],
        }
    )


def catalogue(files, when: datetime.datetime) -> bytes:
    """`files`: (file name, bytes) of the package. Files of the same bytes share one member."""
    members = {}
    for name, data in sorted(files):
        subject = member(name, data)
        members.setdefault(bytes(subject["identifier"]), subject)
    tags = sorted(members)
    ctl = CertificateTrustList(
        {
            "subject_usage": [CATALOG_LIST],
            "list_identifier": hashlib.sha1(b"".join(tags)).digest()[:16],
            "this_update": when,
            "subject_algorithm": {"algorithm": CATALOG_LIST_MEMBER, "parameters": core.Null()},
            "trusted_subjects": [members[t] for t in tags],
            "extensions": [{"extn_id": CAT_NAMEVALUE, "extn_value": name_value("OSAttr", OS_ATTR)}],
        }
    )
    signed = SignedData(
        {
            "version": 1,
            "digest_algorithms": [],
            "content_info": {"content_type": CTL, "content": ctl},
            "signer_infos": [],
        }
    )
    return ContentInfo({"content_type": SIGNED_DATA, "content": signed}).dump()


def package_files(package: str, dirs, lists):
    prefix = package.strip("/") + "/"
    entries = []
    for given in dirs:
        where, sep, folder = given.partition("=")
        if not sep or not os.path.isdir(folder):
            raise ValueError(f"--dir {given}: not PREFIX=FOLDER with an existing folder")
        entries += pack_skin.folder_entries(where.strip("/"), folder)
    for list_file in lists:
        entries += pack_skin.list_entries(list_file)
    out = []
    for entry, path, data in entries:
        if not entry.startswith(prefix):
            continue
        if data is None:
            with open(path, "rb") as f:
                data = f.read()
        out.append((entry.rsplit("/", 1)[-1], data))
    return out


def main() -> int:
    parser = argparse.ArgumentParser(description="Writes the driver package's unsigned catalogue.")
    parser.add_argument("--package", required=True, help="the package's folder in the archive")
    parser.add_argument("--time", required=True, help="the catalogue's date, YYYY-MM-DD")
    parser.add_argument("--out", required=True)
    parser.add_argument("--dir", action="append", default=[], metavar="PREFIX=FOLDER")
    parser.add_argument("--list", action="append", default=[], metavar="FILE")
    args = parser.parse_args()
    try:
        when = datetime.datetime.strptime(args.time, "%Y-%m-%d").replace(tzinfo=datetime.timezone.utc)
        files = package_files(args.package, args.dir, args.list)
        if not files:
            raise ValueError(f"no file below {args.package}")
        data = catalogue(files, when)
        with open(args.out + ".tmp", "wb") as f:
            f.write(data)
        os.replace(args.out + ".tmp", args.out)
    except (OSError, ValueError) as e:
        print(f"make_catalogue.py: {e}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env bash
# Signs the driver package's catalogue (Drivers/CorvaneEx/CorvaneExNew.cat) again with an
# organisation's own certificate instead of the build's throwaway test certificate, puts it back
# into the skin archive, and checks the result: the signature against the trusted root(s), and every
# file of the package against its member of the catalogue.
#
#   scripts/sign-package.sh (--pkcs12 PFX | --cert PEM --key PEM) [--pass-file FILE] [--chain PEM]
#                           [--timestamp URL] [--trust PEM] TARGET
#
# TARGET       a skin archive (skin.zip), or a Windows build folder (build/windows): its
#              resources/skin.zip and resources/driver-catalogue/; the next `cmake --build` of
#              that folder embeds the archive into Orvello.exe. A build that changes the package
#              writes and signs a new catalogue with the test certificate: sign again after it.
# --pkcs12     the signing key and certificate(s) as a PFX file
# --cert/--key the signing certificate and its private key as PEM files
# --pass-file  a file whose first line is the password of the PFX or of the key
# --chain      intermediate certificates to put in the signature (PEM), so that Windows can build
#              the chain up to the root it trusts
# --timestamp  an RFC 3161 time-stamp server (e.g. your certificate authority's): the signature
#              then stays valid after the certificate expires
# --trust      the root certificate(s) to check against (PEM; default: the certificates given)
#
# Needs osslsigncode, openssl and python3 (scripts/setup.sh installs them). The archive is changed
# only when everything succeeded.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
entry=Drivers/CorvaneEx/CorvaneExNew.cat
usage() { sed -n '2,23s/^# \{0,1\}//p' "$0"; }
fail() {
  printf 'sign-package: %s\n' "$*" >&2
  exit 1
}

signer=() trust='' target=''
while [ $# -gt 0 ]; do
  case $1 in
    --pkcs12 | --cert | --key | --pass-file | --chain | --timestamp)
      [ $# -ge 2 ] || fail "$1 needs a value"
      signer+=("$1" "$2")
      shift
      ;;
    --trust)
      [ $# -ge 2 ] || fail "$1 needs a value"
      trust=$2
      shift
      ;;
    -h | --help) usage && exit 0 ;;
    -*) fail "unknown option $1 (see --help)" ;;
    *)
      [ -z "$target" ] || fail "one target only (see --help)"
      target=$1
      ;;
  esac
  shift
done
[ -n "$target" ] || fail "no skin archive or build folder given (see --help)"
[ ${#signer[@]} -gt 0 ] || fail "no certificate given (see --help)"

build_catalogue=''
if [ -d "$target" ]; then
  skin=$target/resources/skin.zip
  build_catalogue=$target/resources/driver-catalogue/CorvaneExNew.cat
else
  skin=$target
fi
[ -f "$skin" ] || fail "$skin: no such archive"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# Rewrites the archive with one entry's bytes replaced, every other entry (order, times, compression)
# as it was, so that the archive stays the same but for the catalogue.
replace_entry() { # replace_entry <archive> <entry> <file> <output>
  python3 - "$@" <<'EOF'
import sys, zipfile
archive, name, path, output = sys.argv[1:]
with zipfile.ZipFile(archive) as source, zipfile.ZipFile(output, "w") as out:
    if name not in source.namelist():
        sys.exit(f"{archive} has no {name}")
    for info in source.infolist():
        if info.filename == name:
            with open(path, "rb") as f:
                out.writestr(info, f.read())
        else:
            out.writestr(info, source.read(info))
EOF
}

python3 -c 'import sys, zipfile; sys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]))' \
  "$skin" "$entry" >"$tmp/old.cat" 2>"$tmp/error" || fail "$skin: no $entry: $(tail -1 "$tmp/error")"
trust_args=()
[ -n "$trust" ] && trust_args=(--trust "$trust")
"$root/tools/packers/sign_catalogue.sh" --in "$tmp/old.cat" --out "$tmp/new.cat" "${signer[@]}" \
  "${trust_args[@]}" --certificates-out "$tmp/certificates.pem"
replace_entry "$skin" "$entry" "$tmp/new.cat" "$tmp/skin.zip" || fail "cannot rewrite $skin"
python3 "$root/tests/package/check_catalogue.py" --trust "${trust:-$tmp/certificates.pem}" "$tmp/skin.zip" ||
  fail "the re-signed catalogue does not check; $skin is unchanged"

cp "$tmp/skin.zip" "$skin.tmp" && mv -f "$skin.tmp" "$skin"
if [ -n "$build_catalogue" ]; then
  mkdir -p "$(dirname "$build_catalogue")"
  cp "$tmp/new.cat" "$build_catalogue"
fi
printf 'sign-package: %s: %s signed by %s\n' "$skin" "$entry" \
  "$(openssl x509 -in "$tmp/certificates.pem" -noout -subject | sed 's/^subject=//')"

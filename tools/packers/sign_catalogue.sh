#!/usr/bin/env bash
# Signs a driver package's catalogue with osslsigncode (SHA-256), replacing any signature it has,
# and checks the result against the signer's chain. The build signs with its test certificate,
# scripts/sign-package.sh with an organisation's own.
#   sign_catalogue.sh --in CAT --out CAT (--cert PEM --key PEM | --pkcs12 PFX) [--pass-file FILE]
#                     [--chain PEM] [--timestamp URL] [--time-of-certificate] [--trust PEM]
#                     [--certificates-out PEM]
# --chain        further certificates to put in the signature (the intermediates up to the root)
# --timestamp    an RFC 3161 time-stamp server
# --time-of-certificate  the signing time is the certificate's start, not now: the same catalogue
#                and key then give the same bytes (the build's choice; PEM certificates only)
# --trust        the root(s) to check the signature against (default: the signer's chain itself)
# --certificates-out  where to write the signer's certificates (its own and --chain's)
set -euo pipefail
usage() { sed -n '2,13s/^# \{0,1\}//p' "$0"; }
fail() {
  printf 'sign_catalogue: %s\n' "$*" >&2
  exit 1
}

in='' out='' cert='' key='' pkcs12='' pass_file='' chain='' timestamp='' fixed_time=0 trust='' certificates_out=''
while [ $# -gt 0 ]; do
  case $1 in
    --in) in=$2; shift ;;
    --out) out=$2; shift ;;
    --cert) cert=$2; shift ;;
    --key) key=$2; shift ;;
    --pkcs12) pkcs12=$2; shift ;;
    --pass-file) pass_file=$2; shift ;;
    --chain) chain=$2; shift ;;
    --timestamp) timestamp=$2; shift ;;
    --time-of-certificate) fixed_time=1 ;;
    --trust) trust=$2; shift ;;
    --certificates-out) certificates_out=$2; shift ;;
    -h | --help) usage && exit 0 ;;
    *) fail "unknown argument $1 (see --help)" ;;
  esac
  shift
done
if [ -z "$in" ] || [ -z "$out" ]; then fail "--in and --out are needed"; fi
[ -f "$in" ] || fail "$in: no such file"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
signer=()
pass=()
[ -n "$pass_file" ] && pass=(-readpass "$pass_file")
if [ -n "$pkcs12" ]; then
  [ -z "$cert$key" ] || fail "--pkcs12 or --cert and --key, not both"
  signer=(-pkcs12 "$pkcs12" "${pass[@]}")
  # The signer's certificates, for the check below.
  passin=pass:
  [ -n "$pass_file" ] && passin=file:$pass_file
  openssl pkcs12 -in "$pkcs12" -nokeys -out "$tmp/chain.pem" -passin "$passin" 2>/dev/null ||
    fail "$pkcs12: cannot read its certificates (wrong password?)"
else
  if [ -z "$cert" ] || [ -z "$key" ]; then fail "--cert and --key, or --pkcs12, are needed"; fi
  signer=(-certs "$cert" -key "$key" "${pass[@]}")
  cat "$cert" >"$tmp/chain.pem"
fi
if [ -n "$chain" ]; then
  signer+=(-ac "$chain")
  cat "$chain" >>"$tmp/chain.pem"
fi
when=()
if [ $fixed_time = 1 ]; then
  [ -n "$cert" ] || fail "--time-of-certificate needs --cert"
  start=$(openssl x509 -in "$cert" -noout -startdate | sed 's/^notBefore=//')
  when=(-time "$(date -u -d "$start" +%s)")
fi
stamp=()
[ -n "$timestamp" ] && stamp=(-ts "$timestamp")

osslsigncode sign "${signer[@]}" -h sha256 "${when[@]}" "${stamp[@]}" -in "$in" -out "$tmp/signed.cat" \
  >"$tmp/sign.log" 2>&1 || fail "osslsigncode sign failed: $(cat "$tmp/sign.log")"
osslsigncode verify -in "$tmp/signed.cat" -CAfile "${trust:-$tmp/chain.pem}" >"$tmp/verify.log" 2>&1 ||
  fail "the signed catalogue does not verify: $(grep -iE 'error|fail' "$tmp/verify.log" | head -5)"
mv -f "$tmp/signed.cat" "$out"
if [ -n "$certificates_out" ]; then cp "$tmp/chain.pem" "$certificates_out"; fi

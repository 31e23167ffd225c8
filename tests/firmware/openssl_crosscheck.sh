#!/usr/bin/env bash
# Random images through our AES-128-CBC and through `openssl enc`, both ways: the firmware file
# maker's output must equal openssl's encryption of the same plain text, and the maker must read
# back a file that openssl encrypted. Usage: openssl_crosscheck.sh path/to/tiltlink-ovx
set -euo pipefail
ovx=$1
command -v openssl >/dev/null || { echo "openssl is not installed: skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
key=$(printf '%s' zkmport58fwx20180704 | openssl md5 -r | cut -c1-32)
iv=$(printf '%s' fw7x2019qplmrtkz | od -An -tx1 | tr -d ' \n')
version='XC#01#V2.3.4'

for blocks in 1 7 300; do
  head -c $((blocks * 16)) /dev/urandom >"$work/image"
  # The plain text: version in 50 bytes, a byte not read, W = 2, command 0x5A, 43 zero bytes.
  { printf '%s' "$version"; head -c $((50 - ${#version})) /dev/zero
    printf '\000\002\132'; head -c 43 /dev/zero; cat "$work/image"; } >"$work/plain"
  openssl enc -aes-128-cbc -nopad -K "$key" -iv "$iv" -in "$work/plain" | base64 -w0 >"$work/theirs"

  "$ovx" --version "$version" --width 2 --command 5A --image "$work/image" -o "$work/ours"
  cmp "$work/ours" "$work/theirs" || { echo "encryption differs for $blocks blocks"; exit 1; }

  "$ovx" --decode "$work/theirs" --image-out "$work/back" >"$work/header"
  cmp "$work/back" "$work/image" || { echo "decryption differs for $blocks blocks"; exit 1; }
  printf 'version: %s\nwidth: 2\ncommand: 0x5A\n' "$version" | cmp - <(head -3 "$work/header") \
    || { echo "header differs for $blocks blocks"; exit 1; }
done
echo "openssl and tiltlink-ovx agree both ways"

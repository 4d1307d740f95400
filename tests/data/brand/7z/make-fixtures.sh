#!/usr/bin/env bash
# Makes the AES ZIP entries the container tests compare against: 7-Zip stores each file without
# compression (-mx0), so every entry holds exactly salt, verifier, encrypted data and code.
# The password length decides the key strength of our containers, so each archive uses a
# password of a length that gives the same strength as the archive's AES mode.
set -euo pipefail
cd "$(dirname "$0")"
rm -f aes128.zip aes192.zip aes256.zip
python3 - <<'PY'
open("pattern1000.bin", "wb").write(bytes((i * 7 + 3) % 256 for i in range(1000)))
open("short.txt", "wb").write(b"Vellora brand settings\r\n")
open("empty.txt", "wb").write(b"")
PY
P128=pqhrtzmwvx
P192=abcdefghijklmnopqrstuvwxyz012345
P256=abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKL
7z a -tzip -mem=AES128 -mx0 -p"$P128" aes128.zip short.txt empty.txt pattern1000.bin >/dev/null
7z a -tzip -mem=AES192 -mx0 -p"$P192" aes192.zip short.txt empty.txt pattern1000.bin >/dev/null
7z a -tzip -mem=AES256 -mx0 -p"$P256" aes256.zip short.txt empty.txt pattern1000.bin >/dev/null

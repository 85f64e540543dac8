#!/usr/bin/env bash
# Makes demo.s19, the sample S-record file for the demo catalogue's model "VT8B-W16" (code 0xB0:
# the additional window B000-BFFF, then the main flash C000-FFFF). S0, S1 records of 16 data
# bytes with 16-bit addresses, S9; CR LF line ends. Needs srecord's srec_cat.
set -euo pipefail
cd "$(dirname "$0")"
srec_cat \
    -generate 0xB000 0xB040 -repeat-string 'VORTANA demo window: serial area. ' \
    -generate 0xC000 0xC100 -repeat-data 0xA6 0x55 0xC7 0x00 0x80 0x20 0xF9 0x9D \
    -generate 0xD000 0xD010 -constant 0x5A \
    -generate 0xFFFE 0x10000 -constant-big-endian 0xC000 2 \
    -o demo.s19 \
    -header 'VORTANA demo' \
    -execution-start-address 0x0000 \
    -address-length=2 \
    -output-block-size=16 \
    -line-termination=crlf \
    -disable=data-count
